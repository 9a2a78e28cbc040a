// The main of every test program: GoogleTest with the fault watch.
#include "tests/support/FaultWatch.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  testing_support::InstallFaultWatch();
  return RUN_ALL_TESTS();
}
