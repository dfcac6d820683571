// The SyncObjs unit: locks shared by threads (a theme library's module
// state is guarded by one).
#pragma once

#include "classlib/System.h"
#include "classlib/Win.h"

// Something that one thread at a time may hold.
class TSynchroObject : public TObject {
  DECLARE_CLASS(TSynchroObject, TObject)

  virtual void Acquire() {}
  virtual void Release() {}
};

// A Win32 critical section, made with the object and deleted with it. The
// thread that holds it may enter again; each Enter needs its Leave.
class TCriticalSection : public TSynchroObject {
  DECLARE_CLASS(TCriticalSection, TSynchroObject)

  TCriticalSection() { InitializeCriticalSection(&section_); }
  ~TCriticalSection() override { DeleteCriticalSection(&section_); }

  void Acquire() override { EnterCriticalSection(&section_); }
  void Release() override { LeaveCriticalSection(&section_); }
  void Enter() { Acquire(); }
  void Leave() { Release(); }

 private:
  CRITICAL_SECTION section_;
};
