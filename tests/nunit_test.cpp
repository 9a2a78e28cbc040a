// Window and process helpers against real windows, including one whose thread has stopped.
#include "tasklist/NUnit.h"
#include "tests/support/Fixture.h"
#include "tests/support/TestWindows.h"

#include <gtest/gtest.h>

#include <string>

using testing_support::FixtureProcess;

namespace {

using testing_support::OwnWindow;
using testing_support::Tag;

TEST(GetWindowExePath, OwnWindowGivesThisProgram) {
  base::unique_hwnd wnd = OwnWindow(Tag("own"));
  char self[MAX_PATH] = {};
  ::GetModuleFileNameA(nullptr, self, MAX_PATH);
  EXPECT_EQ(tasklist::GetWindowExePath(wnd.get()), self);
}

TEST(GetWindowExePath, DestroyedWindowGivesEmpty) {
  base::unique_hwnd wnd = OwnWindow(Tag("gone"));
  const HWND stale = wnd.get();
  wnd.reset();
  EXPECT_EQ(tasklist::GetWindowExePath(stale), "");
}

// A nameless ordinary file gets whatever icon the shell gives for it, or none; one it gets is ours.
TEST(GetFileIcon, EmptyNameGivesTheShellsIconOrNone) {
  base::unique_hicon icon = tasklist::GetFileIcon("", false);
  ICONINFO parts{};
  EXPECT_TRUE(!icon || ::GetIconInfo(icon.get(), &parts))
      << "not an icon: " << icon.get() << ", error " << ::GetLastError();
  ::DeleteObject(parts.hbmColor);
  ::DeleteObject(parts.hbmMask);
  EXPECT_TRUE(!icon || ::DestroyIcon(icon.release())) << "error " << ::GetLastError();
  EXPECT_TRUE(tasklist::GetFileIcon("anything.txt", false));
}

TEST(BringToTop, RaisesAResponsiveWindowOfAnotherProcess) {
  FixtureProcess fixture({"app:" + Tag("responsive")});
  const HWND target = fixture.Window(Tag("responsive"));
  base::unique_hwnd mine = OwnWindow(Tag("foreground"));
  ::SetForegroundWindow(mine.get());
  const LONG_PTR before = testing_support::ActivationCount(target);
  EXPECT_TRUE(tasklist::BringToTop(target));
  EXPECT_TRUE(testing_support::Raised(target, before));
}

TEST(BringToTop, HungWindowIsNotWaitedForAndComesUpWhenItRecovers) {
  FixtureProcess fixture({"app:" + Tag("hung")});
  const HWND target = fixture.Window(Tag("hung"));
  base::unique_hwnd mine = OwnWindow(Tag("foreground while hung"));
  ::SetForegroundWindow(mine.get());
  const LONG_PTR before = testing_support::ActivationCount(target);
  constexpr DWORD kHangMs = 4000;
  fixture.Hang(kHangMs);

  const DWORD start = ::GetTickCount();
  EXPECT_FALSE(tasklist::BringToTop(target));
  EXPECT_LT(::GetTickCount() - start, 1000u) << "the caller waited for the hung thread";

  // The asynchronous request is carried out once the thread pumps again.
  EXPECT_TRUE(testing_support::WaitFor(
      [&] {
        return ::GetTopWindow(nullptr) == target || ::GetForegroundWindow() == target ||
               testing_support::ActivationCount(target) > before;
      },
      kHangMs + 5000))
      << "top window " << ::GetTopWindow(nullptr) << ", activations " << testing_support::ActivationCount(target);
}

TEST(BringToTop, NoForegroundWindowStillRaises) {
  base::unique_hwnd mine = OwnWindow(Tag("no foreground"));
  EXPECT_TRUE(tasklist::BringToTop(mine.get()));
}

}  // namespace
