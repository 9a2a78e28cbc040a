// Test helpers around the fixture program: a real process with real windows, and queries on the
// windows of one process.
#pragma once

#include "base/Handle.h"

#include <windows.h>

#include <string>
#include <vector>

namespace testing_support {

// Folder of the running test program, with a trailing backslash.
std::string ProgramFolder();

// The fixture program of this build.
std::string FixturePath();
// The fixture program of the other width, built beside this one (build/i686, build/x86_64).
std::string OtherWidthFixturePath();

// What the fixture can be told to be slow at, once: a position change of a window (a raise, say),
// a deactivation, or reading messages after it answered the next probe (WM_NULL).
enum class SlowStep : LPARAM { kMove, kDeactivation, kAfterProbe };

// A fixture process running the given scenarios; it is told to go (and if need be terminated)
// when this object is destroyed. `exePath` may name a copy of the fixture under another name.
class FixtureProcess {
 public:
  explicit FixtureProcess(const std::vector<std::string>& scenarios, const std::string& exePath = FixturePath());
  FixtureProcess(const FixtureProcess&) = delete;
  FixtureProcess& operator=(const FixtureProcess&) = delete;
  ~FixtureProcess();

  DWORD Id() const { return processId_; }
  // The window of this process with exactly this caption, or 0.
  HWND Window(const std::string& caption) const;
  // Every top-level window of this process, in enumeration order.
  std::vector<HWND> Windows() const;
  // Makes the fixture's thread sleep for `ms` without pumping messages; returns once it sleeps.
  void Hang(DWORD ms) const;
  // Makes the fixture's next occurrence of `step` in any of its windows take `ms`.
  void SlowDownNext(SlowStep step, DWORD ms) const;

 private:
  base::unique_kernel_handle process_;
  DWORD processId_ = 0;
  DWORD threadId_ = 0;
};

// Copies `program` to `name` in a scratch folder of the test program; returns the path. A copy
// that is still running from an earlier test is used as it is.
std::string ProgramCopy(const std::string& program, const std::string& name);
// Copies the fixture program to `name` in a scratch folder of the test program; returns the path.
std::string FixtureCopy(const std::string& name);

// Activations the fixture window has counted.
LONG_PTR ActivationCount(HWND fixtureWindow);

// Dispatches this thread's messages for `ms` milliseconds: for waits that must let time pass.
void PumpMessages(DWORD ms);
// Dispatches this thread's messages until none arrived for `quietMs`, at most for `boundMs`.
void Flush(DWORD quietMs = 50, DWORD boundMs = 2000);

// Waits up to `ms` for `condition`, pumping messages meanwhile. Callers stream what they saw last,
// which is still what they see when the wait has failed.
template <typename Condition>
bool WaitFor(Condition condition, DWORD ms = 5000) {
  const DWORD start = ::GetTickCount();
  while (!condition()) {
    if (::GetTickCount() - start > ms) return false;
    PumpMessages(10);
  }
  return true;
}

}  // namespace testing_support
