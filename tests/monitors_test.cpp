// Two monitors: the menu lists only its own monitor's tasks with Monitor=1, and Shift+Enter
// brings a window over to it.
#include "taskmenu/TaskMenu.h"
#include "tasklist/TaskRefresh.h"
#include "tests/support/Fixture.h"
#include "tests/support/ImportPatch.h"
#include "tests/support/MenuDriver.h"
#include "tests/support/TestWindows.h"
#include "ui/OpenMenu.h"

#include <gtest/gtest.h>

namespace {

using testing_support::IndexOfWindow;
using testing_support::OwnWindow;
using testing_support::Tag;

// Side by side, as the code under test (linked into this program) sees them; the right one has
// bars at its left and top. A rectangle is nearest to the monitor that holds its centre.
const auto kLeft = reinterpret_cast<HMONITOR>(0x6161);
const auto kRight = reinterpret_cast<HMONITOR>(0x6262);

HMONITOR WINAPI FromPoint(POINT point, DWORD) { return point.x < 1024 ? kLeft : kRight; }
HMONITOR WINAPI FromRect(const RECT* rect, DWORD) { return FromPoint({(rect->left + rect->right) / 2, 0}, 0); }
HMONITOR WINAPI FromWindow(HWND wnd, DWORD) {
  RECT rect{};
  ::GetWindowRect(wnd, &rect);
  return FromRect(&rect, 0);
}
BOOL WINAPI Info(HMONITOR monitor, MONITORINFO* info) {
  info->rcMonitor = monitor == kLeft ? RECT{0, 0, 1024, 768} : RECT{1024, 0, 2048, 768};
  info->rcWork = monitor == kLeft ? RECT{0, 0, 1024, 728} : RECT{1124, 40, 2048, 768};
  return TRUE;
}
SHORT WINAPI ShiftHeld(int key) { return key == VK_SHIFT ? SHORT(0x8000) : SHORT(0); }

testing_support::ImportPatch Patch(const char* function, void* replacement) {
  return testing_support::ImportPatch(::GetModuleHandleA(nullptr), "user32.dll", function, replacement);
}

class TwoMonitors : public ::testing::Test {
 protected:
  testing_support::ImportPatch patches[4] = {Patch("MonitorFromPoint", reinterpret_cast<void*>(&FromPoint)),
                                             Patch("MonitorFromRect", reinterpret_cast<void*>(&FromRect)),
                                             Patch("MonitorFromWindow", reinterpret_cast<void*>(&FromWindow)),
                                             Patch("GetMonitorInfoW", reinterpret_cast<void*>(&Info))};
  taskmenu::TTaskPopupMenu menu;
};

struct ScopeCase {
  bool thisMonitorOnly;
  int menuX;
  bool listed[4];  // left, right, straddling mostly on the right, minimised to be restored on the right
};
class MonitorScope : public TwoMonitors, public ::testing::WithParamInterface<ScopeCase> {};

TEST_P(MonitorScope, ListsTheTasksOfTheMenusMonitor) {
  const base::unique_hwnd windows[] = {
      OwnWindow(Tag("left"), 100, 100, 300, 200), OwnWindow(Tag("right"), 1300, 100, 300, 200),
      OwnWindow(Tag("straddling"), 900, 300, 400, 200), OwnWindow(Tag("minimised"), 1500, 400, 300, 200)};
  ::ShowWindow(windows[3].get(), SW_MINIMIZE);
  menu.SetMonitor(GetParam().thisMonitorOnly);
  testing_support::WhenMenuOpens([](HWND open) { testing_support::PressInMenu(open, VK_ESCAPE); });
  menu.PopupTasks(GetParam().menuX, 300);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(IndexOfWindow(menu.Tasks(), windows[i].get()) >= 0, GetParam().listed[i]) << i;
}

INSTANTIATE_TEST_SUITE_P(SettingAndPoint, MonitorScope,
                         ::testing::Values(ScopeCase{false, 100, {true, true, true, true}},
                                           ScopeCase{true, 100, {true, false, false, false}},
                                           ScopeCase{true, 1500, {false, true, true, true}}));

class BringHere : public TwoMonitors, public ::testing::WithParamInterface<int> {
  testing_support::ImportPatch shift = Patch("GetKeyState", reinterpret_cast<void*>(&ShiftHeld));
};

// Moved by the work areas' offset (1124, 40), then into the right work area.
TEST_P(BringHere, ShiftEnterMovesTheRestoredPlaceToTheMenusMonitor) {
  const base::unique_hwnd target = OwnWindow(Tag("brought"), 800, 100, 300, 200);
  ::ShowWindow(target.get(), GetParam());
  testing_support::WhenMenuOpens([&](HWND open) {
    ui::HighlightItem(open, testing_support::NativeMenuOf(open), IndexOfWindow(menu.Tasks(), target.get()));
    testing_support::PressInMenu(open, VK_RETURN);
  });
  menu.PopupTasks(1500, 300);
  testing_support::Flush();
  WINDOWPLACEMENT placement{};
  placement.length = sizeof(placement);
  ASSERT_TRUE(::GetWindowPlacement(target.get(), &placement));
  const RECT& normal = placement.rcNormalPosition;
  EXPECT_TRUE(normal.left == 1748 && normal.top == 140 && normal.right == 2048 && normal.bottom == 340)
      << normal.left << "," << normal.top << "," << normal.right << "," << normal.bottom;
  EXPECT_EQ(placement.showCmd, UINT(GetParam() == SW_MAXIMIZE ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL));
}

INSTANTIATE_TEST_SUITE_P(NormalMaximisedMinimised, BringHere,
                         ::testing::Values(SW_SHOWNORMAL, SW_MAXIMIZE, SW_MINIMIZE));

TEST_F(TwoMonitors, AHungWindowIsBroughtOverWhenItAnswersWithoutHoldingTheHost) {
  testing_support::FixtureProcess fixture({"app:" + Tag("hung")});
  tasklist::TWinInfos tasks;
  tasklist::Refresh(tasks);
  const HWND target = fixture.Window(Tag("hung"));
  ASSERT_GE(IndexOfWindow(tasks, target), 0);
  fixture.Hang(2000);
  const DWORD start = ::GetTickCount();
  tasks.BringHere(IndexOfWindow(tasks, target), kRight);
  EXPECT_LT(::GetTickCount() - start, 1000u);
  RECT rect{};
  EXPECT_TRUE(testing_support::WaitFor([&] { return ::GetWindowRect(target, &rect) && rect.left >= 1124; }, 15000))
      << "left " << rect.left;
}

}  // namespace
