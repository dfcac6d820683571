// Assert: a check that raises EAssertionFailed with the place it failed.
//
// The message reads "<message> (<file>, line <n>)", as the platform formats
// it; an empty message reads "Assertion failed". The check is always made,
// in release builds too: the libraries' consistency checks are behaviour
// their callers rely on (their failures are tested), not debugging aids.
#pragma once

#include <source_location>
#include <string>

// The place is named by the caller: a library that reports its own unit
// name and line (its stored messages quote them) passes them here.
void Assert(bool condition, const std::string& message, const std::string& fileName, int lineNumber);

// The place is the calling source file (its name without folders, so the
// text does not depend on where the tree was built) and line.
void Assert(bool condition, const std::string& message = {},
            const std::source_location& where = std::source_location::current());

// What a failed Assert raises: EAssertionFailed with the text above.
[[noreturn]] void AssertErrorHandler(const std::string& message, const std::string& fileName, int lineNumber);
