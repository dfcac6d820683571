// The main() of every test executable (classlib_tests, skin_tests, ...).
//
// Each executable defines TestUnits() (tests/<library>/TestUnits.cpp): the
// start-up list of the units it links, in the system's order, so that the
// tests run with every unit initialised as in the program.
#include <gtest/gtest.h>

#include "classlib/Units.h"

const std::vector<TUnitEntry>& TestUnits();

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  InitializeUnits(TestUnits());
  int result = RUN_ALL_TESTS();
  FinalizeUnits();
  return result;
}
