// Floating-point text: the run-time library's FloatToText family, the
// FormatFloat pictures and the StrToFloat family, over TFormatSettings.
//
// Digits are found as the platform finds them: the value's 18 significant
// decimal digits, then rounded half away from zero to what the format asks
// (so 0.125 with two decimals is "0.13").
#pragma once

#include <string>

#include "classlib/sysutils/Locale.h"

enum TFloatFormat { ffGeneral, ffExponent, ffFixed, ffNumber, ffCurrency };

// ffGeneral: shortest of fixed and scientific with precision significant
//   digits ("1.5", "1E20", "1.5E-7"); digits is the exponent's minimum width.
// ffExponent: "-d.dddE+ddd", precision digits in all, exponent at least
//   digits wide.
// ffFixed / ffNumber: digits decimals (ffNumber adds thousand separators);
//   scientific when the integer part has more than precision digits.
// ffCurrency: as ffNumber with CurrencyString placed by CurrencyFormat /
//   NegCurrFormat.
// NaN and infinities give "NAN", "INF" and "-INF".
std::string FloatToStrF(double value, TFloatFormat format, int precision, int digits,
                        const TFormatSettings& fs = FormatSettings);
// FloatToStrF(value, ffGeneral, 15, 0).
std::string FloatToStr(double value, const TFormatSettings& fs = FormatSettings);

// A picture of up to three sections ("positive;negative;zero") made of '0'
// (a digit always shown), '#' (a digit when significant), '.', ',' (thousand
// separators), "E+"/"E-" followed by '0's, 'quoted' or "quoted" text and
// other literal characters. An empty picture is FloatToStr.
std::string FormatFloat(const std::string& format, double value, const TFormatSettings& fs = FormatSettings);

// Leading and trailing blanks, a sign, digits with DecimalSeparator, an
// optional exponent. EConvertError "'%s' is not a valid floating point value".
double StrToFloat(const std::string& s, const TFormatSettings& fs = FormatSettings);
double StrToFloatDef(const std::string& s, double def, const TFormatSettings& fs = FormatSettings);
bool TryStrToFloat(const std::string& s, double& value, const TFormatSettings& fs = FormatSettings);
