// Ends a test program that a test holds for too long, naming that test, instead of leaving it
// to hang until the test runner's time-out.
#pragma once

namespace testing_support {

// How long one test may run, and the exit code of a program ended for that.
inline constexpr unsigned long kTestDeadlineMs = 120000;
inline constexpr unsigned int kWatchdogExitCode = 124;

// Starts the watch; every test start resets the deadline.
void InstallWatchdog();

}  // namespace testing_support
