#include "tests/support/Watchdog.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <string>

namespace testing_support {
namespace {

HANDLE testStarted = nullptr;
// Written by the test thread before it signals; read by the watch only after a wait timed out.
char runningTest[512] = "(before the first test)";

DWORD WINAPI Watch(void*) {
  while (::WaitForSingleObject(testStarted, kTestDeadlineMs) == WAIT_OBJECT_0) {
  }
  std::fprintf(stderr, "\nwatchdog: %s has run for more than %lu s; ending the program\n", runningTest,
               kTestDeadlineMs / 1000);
  std::fflush(stderr);
  ::TerminateProcess(::GetCurrentProcess(), kWatchdogExitCode);
  return 0;
}

class TestStarts : public ::testing::EmptyTestEventListener {
  void OnTestStart(const ::testing::TestInfo& test) override {
    const std::string name = std::string(test.test_suite_name()) + "." + test.name();
    lstrcpynA(runningTest, name.c_str(), sizeof(runningTest));
    ::SetEvent(testStarted);
  }
};

}  // namespace

void InstallWatchdog() {
  testStarted = ::CreateEventA(nullptr, FALSE, FALSE, nullptr);
  HANDLE watch = testStarted ? ::CreateThread(nullptr, 0, &Watch, nullptr, 0, nullptr) : nullptr;
  if (!watch) {
    std::fprintf(stderr, "watchdog: cannot start (error %lu)\n", ::GetLastError());
    return;
  }
  ::CloseHandle(watch);
  ::testing::UnitTest::GetInstance()->listeners().Append(new TestStarts);
}

}  // namespace testing_support
