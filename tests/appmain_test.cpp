// The trigger window: the foreground around the menu and the fixed position.
#include "taskmenu/AppMain.h"
#include "tests/support/Fixture.h"
#include "tests/support/ImportPatch.h"
#include "tests/support/MenuDriver.h"
#include "tests/support/TestWindows.h"
#include "ui/WorkArea.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

using taskmenu::TMainForm;
using testing_support::FixtureProcess;
using testing_support::PressInMenu;
using testing_support::WhenMenuOpens;

namespace {

using testing_support::Tag;

// Away from the point where these tests open their menus.
base::unique_hwnd OwnWindow(const std::string& caption) {
  return testing_support::OwnWindow(caption, 300, 300, 200, 100);
}

void Trigger(TMainForm& form) { ::SendMessageA(form.Handle(), WM_HOTKEY, taskmenu::kTriggerHotKeyId, 0); }

// Where the menu that the trigger opens is, dismissed at once.
RECT MenuRectOfTrigger(TMainForm& form) {
  RECT menuRect{};
  WhenMenuOpens([&](HWND open) {
    ::GetWindowRect(open, &menuRect);
    PressInMenu(open, VK_ESCAPE);
  });
  Trigger(form);
  return menuRect;
}

bool Raised(HWND wnd) { return ::GetForegroundWindow() == wnd || ::GetActiveWindow() == wnd; }

TEST(TriggerWindow, IsHiddenWithTheStoredStylesAndPlacement) {
  TMainForm form;
  const HWND wnd = form.Handle();
  const LONG style = ::GetWindowLongA(wnd, GWL_STYLE);
  for (LONG bit : {WS_CAPTION, WS_THICKFRAME, WS_SYSMENU, WS_MINIMIZE, WS_CLIPSIBLINGS, WS_CLIPCHILDREN}) {
    EXPECT_EQ(style & bit, bit) << std::hex << bit;
  }
  EXPECT_FALSE(style & (WS_VISIBLE | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
  EXPECT_EQ(::GetWindowLongA(wnd, GWL_EXSTYLE) & WS_EX_CONTROLPARENT, WS_EX_CONTROLPARENT);
  EXPECT_FALSE(::GetWindow(wnd, GW_OWNER));
  WINDOWPLACEMENT placement{};
  placement.length = sizeof(placement);
  ::GetWindowPlacement(wnd, &placement);
  EXPECT_EQ(placement.rcNormalPosition.left, 27);
  EXPECT_EQ(placement.rcNormalPosition.top, 79);
  // Wine widens a sizing window to its minimum tracking width.
  EXPECT_GE(placement.rcNormalPosition.right - placement.rcNormalPosition.left, 112);
  EXPECT_EQ(placement.rcNormalPosition.bottom - placement.rcNormalPosition.top, 49);
}

TEST(TriggerWindow, OtherHotKeyIdsDoNothing) {
  TMainForm form;
  WhenMenuOpens([](HWND open) { PressInMenu(open, VK_ESCAPE); }, 500);
  for (WPARAM id : {WPARAM{0x4320}, WPARAM{0}}) EXPECT_EQ(::SendMessageA(form.Handle(), WM_HOTKEY, id, 0), 0);
  testing_support::PumpMessages(600);  // outlasts the menu watch (500 ms)
  EXPECT_FALSE(testing_support::MenuActionRan()) << "a menu opened";
  EXPECT_EQ(form.Menu().ItemCount(), 0);
}

TEST(TriggerWindow, FixedPositionPutsTheMenuAtThatPoint) {
  base::unique_hwnd task = OwnWindow(Tag("task"));  // an empty menu would close at once
  TMainForm form;
  form.SetMenuFixPos(true);
  form.SetXPos(100);
  form.SetYPos(100);
  ::SetCursorPos(400, 300);
  const RECT menuRect = MenuRectOfTrigger(form);
  ASSERT_TRUE(testing_support::MenuActionRan());
  EXPECT_EQ(menuRect.left, 100);
  // A menu taller than the room below the point is moved up to stay on the screen.
  if (menuRect.bottom - menuRect.top > ::GetSystemMetrics(SM_CYSCREEN) - 100) {
    GTEST_SKIP() << "the menu (" << menuRect.bottom - menuRect.top << " px) is too tall for its top to stay at 100";
  }
  EXPECT_EQ(menuRect.top, 100);
}

// Two monitors side by side: the first's work area leaves bars at its left and top, the second
// (at x 1024 and on) has a taskbar at its bottom. Asked for the nearest monitor only.
const auto kFirstMonitor = reinterpret_cast<HMONITOR>(0x6161);
const auto kSecondMonitor = reinterpret_cast<HMONITOR>(0x6262);

HMONITOR WINAPI NearestOfTwoMonitors(POINT point, DWORD flags) {
  if (flags != MONITOR_DEFAULTTONEAREST) return nullptr;
  return point.x < 1024 ? kFirstMonitor : kSecondMonitor;
}

BOOL WINAPI InfoOfTwoMonitors(HMONITOR monitor, MONITORINFO* info) {
  if (monitor != kFirstMonitor && monitor != kSecondMonitor) return FALSE;
  const bool first = monitor == kFirstMonitor;
  info->rcMonitor = first ? RECT{0, 0, 1024, 768} : RECT{1024, 0, 2048, 768};
  info->rcWork = first ? RECT{200, 100, 1024, 768} : RECT{1024, 0, 2048, 728};
  return TRUE;
}

TEST(TriggerWindow, AFixedPositionIsClampedIntoTheNearestMonitorsWorkArea) {
  testing_support::ImportPatch monitor(::GetModuleHandleA(nullptr), "user32.dll", "MonitorFromPoint",
                                       reinterpret_cast<void*>(&NearestOfTwoMonitors));
  testing_support::ImportPatch info(::GetModuleHandleA(nullptr), "user32.dll", "GetMonitorInfoW",
                                    reinterpret_cast<void*>(&InfoOfTwoMonitors));
  ASSERT_TRUE(monitor.Original() && info.Original());
  const struct {
    POINT fixed, expected;
  } cases[] = {
      {{300, 300}, {300, 300}}, {{50, 50}, {200, 100}},      {{1500, 900}, {1500, 727}},
      {{5000, -40}, {2047, 0}}, {{-3000, 5000}, {200, 767}}, {{1023, 767}, {1023, 767}},
  };
  for (const auto& c : cases) {
    const POINT clamped = ui::ClampIntoWorkArea(c.fixed);
    EXPECT_TRUE(clamped.x == c.expected.x && clamped.y == c.expected.y)
        << c.fixed.x << "," << c.fixed.y << " -> " << clamped.x << "," << clamped.y;
  }

  base::unique_hwnd task = OwnWindow(Tag("task"));
  TMainForm form;
  form.SetMenuFixPos(true);
  form.SetXPos(50);
  form.SetYPos(50);
  const RECT menuRect = MenuRectOfTrigger(form);
  ASSERT_TRUE(testing_support::MenuActionRan());
  EXPECT_EQ(menuRect.left, 200);
  EXPECT_EQ(menuRect.top, 100);
}

TEST(TriggerWindow, DismissingTheMenuGivesTheForegroundBack) {
  TMainForm form;
  base::unique_hwnd previous = OwnWindow(Tag("previous"));
  ::SetForegroundWindow(previous.get());
  HWND foregroundWhileOpen = nullptr;
  WhenMenuOpens([&](HWND open) {
    foregroundWhileOpen = ::GetForegroundWindow();
    PressInMenu(open, VK_ESCAPE);
  });
  Trigger(form);
  ASSERT_TRUE(testing_support::MenuActionRan());
  EXPECT_EQ(foregroundWhileOpen, form.Handle());
  EXPECT_TRUE(Raised(previous.get()));
}

class TriggerWindowWithTasks : public ::testing::Test {
 protected:
  void ChooseWindow(TMainForm& form, HWND target, std::function<void()> meanwhile = {}) {
    form.SetAutoHotKey(1);
    WhenMenuOpens([&](HWND open) {
      const auto& tasks = form.Menu().Tasks();
      int index = -1;
      for (int i = 0; i < tasks.Count(); ++i) {
        if (tasks.Items(i).Wnd == target) index = i;
      }
      ASSERT_GE(index, 0);
      ASSERT_LT(index, 26);
      if (meanwhile) meanwhile();
      testing_support::TypeInMenu(open, static_cast<char>('a' + index));
    });
    Trigger(form);
    ASSERT_TRUE(testing_support::MenuActionRan());
  }

  // The chosen task is activated before the trigger window returns, and the foreground is not
  // given back to the window in front before the menu.
  void ExpectTheChosenTaskKeepsTheForeground(TMainForm& form, const std::string& name) {
    FixtureProcess fixture({"app:" + Tag(name)});
    const HWND target = fixture.Window(Tag(name));
    base::unique_hwnd previous = OwnWindow(Tag("previous of " + name));
    ::SetForegroundWindow(previous.get());
    const LONG_PTR before = testing_support::ActivationCount(target);
    ChooseWindow(form, target);
    EXPECT_TRUE(testing_support::ActivationCount(target) > before || ::GetForegroundWindow() == target)
        << "activations " << testing_support::ActivationCount(target) << " (before " << before << ")";
    EXPECT_NE(::GetForegroundWindow(), previous.get());
  }
};

TEST_F(TriggerWindowWithTasks, AChosenTaskKeepsTheForeground) {
  TMainForm form;
  ExpectTheChosenTaskKeepsTheForeground(form, "chosen");
}

TEST_F(TriggerWindowWithTasks, ADispatchMarkPostedByAnotherSenderChangesNothing) {
  TMainForm form;
  constexpr UINT kDispatchMark = WM_APP + 1;
  ASSERT_TRUE(::PostMessageA(form.Handle(), kDispatchMark, 0x7fffffff, 0));
  testing_support::Flush();
  ExpectTheChosenTaskKeepsTheForeground(form, "chosen after a stray mark");
}

TEST_F(TriggerWindowWithTasks, AChosenTaskWhoseWindowClosedGivesTheForegroundBack) {
  TMainForm form;
  base::unique_hwnd previous = OwnWindow(Tag("previous of closed"));
  base::unique_hwnd closing = OwnWindow(Tag("closing"));
  ::SetForegroundWindow(previous.get());
  ChooseWindow(form, closing.get(), [&] { closing.reset(); });
  EXPECT_TRUE(Raised(previous.get()));
}

TEST_F(TriggerWindowWithTasks, ChoosingAHungTaskDoesNotHoldTheTriggerWindow) {
  FixtureProcess fixture({"app:" + Tag("hung")});
  const HWND target = fixture.Window(Tag("hung"));
  TMainForm form;
  const DWORD start = ::GetTickCount();
  ChooseWindow(form, target, [&] { fixture.Hang(5000); });
  EXPECT_LT(::GetTickCount() - start, taskmenu::kSettleDelayMs + 1500u);
}

TEST(TriggerWindow, DismissingTheMenuOverAHungForegroundWindowReturnsAtOnce) {
  FixtureProcess fixture({"app:" + Tag("hung foreground")});
  const HWND hung = fixture.Window(Tag("hung foreground"));
  TMainForm form;
  ::SetForegroundWindow(hung);
  ASSERT_TRUE(testing_support::WaitFor([&] { return ::GetForegroundWindow() == hung; })) << ::GetForegroundWindow();
  fixture.Hang(5000);
  WhenMenuOpens([](HWND open) { PressInMenu(open, VK_ESCAPE); });
  const DWORD start = ::GetTickCount();
  Trigger(form);
  ASSERT_TRUE(testing_support::MenuActionRan());
  EXPECT_LT(::GetTickCount() - start, taskmenu::kSettleDelayMs + 1500u) << "the host waited for the hung window";
}

TEST(TriggerWindow, ASecondTriggerWhileTheMenuIsOpenOpensNoSecondMenu) {
  base::unique_hwnd task = OwnWindow(Tag("task"));  // an empty menu would close at once
  TMainForm form;
  bool secondRan = false;
  WhenMenuOpens([&](HWND open) {
    ::PostMessageA(form.Handle(), WM_HOTKEY, taskmenu::kTriggerHotKeyId, 0);
    testing_support::Flush();
    secondRan = true;
    EXPECT_EQ(::FindWindowA("#32768", nullptr), open);
    PressInMenu(open, VK_ESCAPE);
  });
  Trigger(form);
  EXPECT_TRUE(secondRan);
  EXPECT_FALSE(form.Menu().InPopup());
}

TEST(TriggerWindow, AQuitRequestTakenFromTheQueueIsPostedAgain) {
  base::unique_hwnd task = OwnWindow(Tag("task"));  // an empty menu would close at once
  TMainForm form;
  WhenMenuOpens([](HWND open) {
    PressInMenu(open, VK_ESCAPE);
    ::PostQuitMessage(7);
  });
  Trigger(form);
  MSG msg;
  ASSERT_TRUE(::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 7u);
}

}  // namespace
