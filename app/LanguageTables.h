// The menu's built-in languages: six rows of UTF-16 texts, one per line of
// "Resource\Language.TXT" in this order, drawn into the language list and
// written into the button images when a language is applied.
#pragma once

#include <string>

inline constexpr int BuiltInLanguageCount = 6;

enum TCaptionTable { ctLanguageNames, ctManualCaptions, ctDriverCaptions, ctReaderCaptions };

// The text of a table row; null for a row past the sixth (or negative): a
// language line the menu has no built-in text for.
const wchar_t* BuiltInCaption(TCaptionTable table, int row);
