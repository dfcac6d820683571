#include "classlib/sysutils/Supports.h"

#include <cstdio>

#include "classlib/sysutils/Format.h"

namespace {
constexpr const char* SInvalidGUID = "'%s' is not a valid GUID value";
}

std::string GUIDToString(const TGUID& g) {
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "{%08lX-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                static_cast<unsigned long>(g.D1), g.D2, g.D3, g.D4[0], g.D4[1], g.D4[2], g.D4[3], g.D4[4],
                g.D4[5], g.D4[6], g.D4[7]);
  return buffer;
}

TGUID StringToGUID(const std::string& text) {
  try {
    return TGUID::Parse(text);
  } catch (const char*) {
    throw EConvertError(Format(SInvalidGUID, {text}));
  }
}
