#include "tests/support/FaultWatch.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace testing_support {
namespace {

volatile LONG faults = 0;
long accepted = 0;

// First in line, so that it sees a fault before any handler that would swallow it.
LONG CALLBACK CountFault(EXCEPTION_POINTERS* exception) {
  switch (exception->ExceptionRecord->ExceptionCode) {
    case EXCEPTION_ACCESS_VIOLATION:
    case EXCEPTION_ILLEGAL_INSTRUCTION:
    case EXCEPTION_PRIV_INSTRUCTION:
      ::InterlockedIncrement(&faults);
      break;
    default:
      break;
  }
  return EXCEPTION_CONTINUE_SEARCH;
}

class FaultListener : public ::testing::EmptyTestEventListener {
  void OnTestStart(const ::testing::TestInfo&) override { accepted = FaultCount(); }
  // End events reach the listeners in reverse order: this failure is reported with the test.
  void OnTestEnd(const ::testing::TestInfo&) override {
    const long seen = FaultCount() - accepted;
    if (seen > 0) ADD_FAILURE() << seen << " access violation(s) or illegal instruction(s) during the test";
  }
};

}  // namespace

void InstallFaultWatch() {
  ::AddVectoredExceptionHandler(1, &CountFault);
  ::testing::UnitTest::GetInstance()->listeners().Append(new FaultListener);
}

long FaultCount() { return faults; }

void AcceptFaultsSoFar() { accepted = FaultCount(); }

}  // namespace testing_support
