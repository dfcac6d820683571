// Every registered framed class, made, shown, painted focused and
// unfocused, enabled and disabled, its window made anew and freed, round
// after round, leaves no GDI or USER handle behind.
#include <gtest/gtest.h>

#include "tests/common/LeakTestSupport.h"

namespace {

TEST(SerialKxHandleLeakTest, EveryRegisteredClassGivesBackEveryHandle) {
  const std::vector<TClass> classes = leak_test::RegisteredComponentClasses("TKx");
  // The foundation's and the controls' classes are all there.
  ASSERT_GE(classes.size(), 64u);
  leak_test::ExpectChurnLeavesNoHandles(classes, 3);
}

}  // namespace
