#include "tests/support/TestWindows.h"

#include "tests/support/Fixture.h"

namespace testing_support {

std::string Tag(const std::string& name) { return "t-" + std::to_string(::GetCurrentProcessId()) + "-" + name; }

base::unique_hwnd OwnWindow(const std::string& caption, int x, int y, int width, int height) {
  return base::unique_hwnd(::CreateWindowExA(0, "STATIC", caption.c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE, x, y,
                                             width, height, nullptr, nullptr, nullptr, nullptr));
}

int IndexOfWindow(const tasklist::TWinInfos& tasks, HWND wnd) {
  for (int i = 0; i < tasks.Count(); ++i) {
    if (tasks.Items(i).Wnd == wnd) return i;
  }
  return -1;
}

::testing::AssertionResult Raised(HWND fixtureWindow, LONG_PTR activationsBefore, DWORD ms) {
  if (WaitFor(
          [&] {
            return ::GetForegroundWindow() == fixtureWindow || ActivationCount(fixtureWindow) > activationsBefore;
          },
          ms)) {
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure() << "foreground " << ::GetForegroundWindow() << ", activations "
                                       << ActivationCount(fixtureWindow) << " (before " << activationsBefore << ")";
}

}  // namespace testing_support
