// The objects a unit's start-up makes and the program reaches through a
// global (Application, Screen), as the platform's unit globals.
//
// Such a global is null until the start-up list has run. Reached before
// that, it raises EInvalidOperation naming what to call, where a plain
// pointer would be dereferenced while null and crash far from the cause.
// It reads, compares and converts as the pointer it holds.
#pragma once

#include "classlib/classes/Errors.h"

// Raises EInvalidOperation: "<what> is used before the class library's start-up
// list ran: call InitializeUnits(ClasslibUnits()) first".
[[noreturn]] void RaiseUnitsNotStarted(const char* what);

template <class T>
class TUnitGlobal {
 public:
  explicit constexpr TUnitGlobal(const char* name) : name_(name) {}
  TUnitGlobal(const TUnitGlobal&) = delete;
  TUnitGlobal& operator=(const TUnitGlobal&) = delete;

  TUnitGlobal& operator=(T* object) {
    object_ = object;
    return *this;
  }
  T* operator->() const {
    if (!object_) RaiseUnitsNotStarted(name_);
    return object_;
  }
  T& operator*() const { return *operator->(); }
  // The object, or null before the start-up list ran.
  operator T*() const { return object_; }
  T* Get() const { return object_; }

 private:
  T* object_ = nullptr;
  const char* name_;
};
