#include "classlib/system/Assert.h"

#include <string_view>

#include "classlib/Exceptions.h"

namespace {
constexpr const char* SAssertionFailed = "Assertion failed";

std::string BaseName(std::string_view path) {
  size_t slash = path.find_last_of("/\\");
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}
}  // namespace

void AssertErrorHandler(const std::string& message, const std::string& fileName, int lineNumber) {
  std::string text = message.empty() ? std::string(SAssertionFailed) : message;
  throw EAssertionFailed(text + " (" + fileName + ", line " + std::to_string(lineNumber) + ")");
}

void Assert(bool condition, const std::string& message, const std::string& fileName, int lineNumber) {
  if (!condition) AssertErrorHandler(message, fileName, lineNumber);
}

void Assert(bool condition, const std::string& message, const std::source_location& where) {
  if (!condition) AssertErrorHandler(message, BaseName(where.file_name()), static_cast<int>(where.line()));
}
