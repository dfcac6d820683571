#include <gtest/gtest.h>

#include <thread>

#include "classlib/SyncObjs.h"

namespace {

TEST(SyncObjs, CriticalSectionLetsOneThreadAtATimeAndReenters) {
  Owned<TCriticalSection> lock = MakeOwned<TCriticalSection>();
  // The holder may enter again.
  lock->Enter();
  lock->Enter();
  lock->Leave();
  lock->Leave();
  // Unguarded read-modify-write by two threads loses counts; under the lock
  // none is lost.
  int counter = 0;
  auto work = [&] {
    for (int i = 0; i < 200000; ++i) {
      lock->Acquire();
      int seen = counter;
      counter = seen + 1;
      lock->Release();
    }
  };
  std::thread a(work), b(work);
  a.join();
  b.join();
  EXPECT_EQ(counter, 400000);
}

}  // namespace
