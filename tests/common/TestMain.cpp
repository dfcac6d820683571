// The main() of every test executable (classlib_tests, skin_tests, ...).
#include <gtest/gtest.h>

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);

  // ---- Unit initialisation -------------------------------------------------
  // The class library's unit-initialisation call goes here, before any test
  // runs (and its finalisation after RUN_ALL_TESTS).
  // ---------------------------------------------------------------------------

  return RUN_ALL_TESTS();
}
