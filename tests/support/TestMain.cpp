// The main of every test program: GoogleTest with the fault watch and the watchdog.
#include "tests/support/FaultWatch.h"
#include "tests/support/Watchdog.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  testing_support::InstallFaultWatch();
  testing_support::InstallWatchdog();
  return RUN_ALL_TESTS();
}
