// The exception hierarchy shared by every unit.
//
// Exceptions are thrown by value and caught by reference. Each class knows its
// own name (ClassName) because the application's exception box and the tests
// tell failures apart by class, as the platform does. Unit-specific classes
// (EReadError, EInvalidGraphic, ERegistryException...) are declared with
// DECLARE_EXCEPTION in their own unit's header.
#pragma once

#include "classlib/Win.h"

#include <exception>
#include <string>

class Exception : public std::exception {
 public:
  explicit Exception(std::string message = {}, int helpContext = 0)
      : message_(std::move(message)), helpContext_(helpContext) {}

  const std::string& GetMessage() const noexcept { return message_; }
  void SetMessage(std::string m) { message_ = std::move(m); }
  int GetHelpContext() const noexcept { return helpContext_; }
  void SetHelpContext(int h) noexcept { helpContext_ = h; }

  virtual const char* ClassName() const noexcept { return "Exception"; }
  const char* what() const noexcept override { return message_.c_str(); }

 private:
  std::string message_;
  int helpContext_;
};

#define DECLARE_EXCEPTION(Name, Base)                                      \
  class Name : public Base {                                               \
   public:                                                                 \
    using Base::Base;                                                      \
    const char* ClassName() const noexcept override { return #Name; }      \
  }

// Silent exception: unwinds like any other, but the application shows nothing.
DECLARE_EXCEPTION(EAbort, Exception);
DECLARE_EXCEPTION(EHeapException, Exception);
DECLARE_EXCEPTION(EOutOfMemory, EHeapException);
DECLARE_EXCEPTION(EInvalidPointer, EHeapException);
DECLARE_EXCEPTION(EInOutError, Exception);
DECLARE_EXCEPTION(EExternal, Exception);
DECLARE_EXCEPTION(EIntError, EExternal);
DECLARE_EXCEPTION(EDivByZero, EIntError);
DECLARE_EXCEPTION(ERangeError, EIntError);
DECLARE_EXCEPTION(EIntOverflow, EIntError);
DECLARE_EXCEPTION(EMathError, EExternal);
DECLARE_EXCEPTION(EInvalidOp, EMathError);
DECLARE_EXCEPTION(EZeroDivide, EMathError);
DECLARE_EXCEPTION(EOverflow, EMathError);
DECLARE_EXCEPTION(EUnderflow, EMathError);
DECLARE_EXCEPTION(EAccessViolation, EExternal);
DECLARE_EXCEPTION(EInvalidCast, Exception);
DECLARE_EXCEPTION(EConvertError, Exception);
DECLARE_EXCEPTION(EAbstractError, Exception);
DECLARE_EXCEPTION(EAssertionFailed, Exception);
DECLARE_EXCEPTION(EVariantError, Exception);
DECLARE_EXCEPTION(EPropReadOnly, Exception);
DECLARE_EXCEPTION(EPropWriteOnly, Exception);
DECLARE_EXCEPTION(EInvalidContainer, Exception);
DECLARE_EXCEPTION(EInvalidInsert, Exception);

// A failed operating-system call; ErrorCode is GetLastError's value.
class EOSError : public Exception {
 public:
  explicit EOSError(std::string message = {}, unsigned long errorCode = 0)
      : Exception(std::move(message)), errorCode_(errorCode) {}
  unsigned long GetErrorCode() const noexcept { return errorCode_; }
  void SetErrorCode(unsigned long c) noexcept { errorCode_ = c; }
  const char* ClassName() const noexcept override { return "EOSError"; }

 private:
  unsigned long errorCode_;
};

// Raises the silent EAbort.
[[noreturn]] void Abort();
