// A task's action menu: its keys, each action's effect, the task menu again on the same entry, and
// End task for a program that stopped responding.
#include "tasklist/ProcessToEnd.h"
#include "taskmenu/TaskMenu.h"
#include "tests/support/Fixture.h"
#include "tests/support/ImportPatch.h"
#include "tests/support/MenuDriver.h"
#include "tests/support/TestWindows.h"
#include "ui/OpenMenu.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

using namespace testing_support;
using taskmenu::TTaskPopupMenu;

namespace {

constexpr int kEndTaskRow = 5;  // below the five window actions

int ItemsOf(HWND open) { return ::GetMenuItemCount(NativeMenuOf(open)); }
bool Greyed(HWND open, int row) {
  return ::GetMenuState(NativeMenuOf(open), static_cast<UINT>(row), MF_BYPOSITION) & MF_GRAYED;
}

void SetShift(bool down) {
  BYTE keys[256];
  ::GetKeyboardState(keys);
  keys[VK_SHIFT] = down ? 0x80 : 0;
  ::SetKeyboardState(keys);
}

// Highlights the target's entry in the task menu, presses `key` there (Shift+F10 for VK_F10) and
// runs `next` in the menu open once the key is handled (posted keys come before the look's timer).
void AtActionMenu(TTaskPopupMenu& menu, HWND target, std::function<void(HWND)> next, WPARAM key = VK_APPS) {
  WhenMenuOpens([&menu, target, next, key](HWND open) {
    ui::HighlightItem(open, NativeMenuOf(open), IndexOfWindow(menu.Tasks(), target));
    SetShift(key == VK_F10);
    ::PostMessageA(open, key == VK_F10 ? WM_SYSKEYDOWN : WM_KEYDOWN, key, 0);
    WhenMenuOpens([next, open](HWND now) {
      SetShift(false);
      next(now == open ? nullptr : now);
    });
  });
  menu.PopupTasks(10, 10);
}

struct ActionCase {
  const char* name;
  WPARAM pressed;  // in the task menu
  int showBefore;  // ShowWindow command that prepares the window
  WPARAM item;     // the item's accelerator, or VK_ESCAPE
  std::function<bool(HWND)> done;
};

class WindowActions : public ::testing::TestWithParam<ActionCase> {};

// The window is of this thread: the posted command is carried out while the task menu is open again.
TEST_P(WindowActions, ArePostedAndTheTaskMenuOpensAgainOnTheSameEntry) {
  const ActionCase& row = GetParam();
  const base::unique_hwnd target = OwnWindow(Tag("acted on"), 30, 30, 200, 150);
  const base::unique_hwnd front = OwnWindow(Tag("in front"), 60, 60);
  ::ShowWindow(target.get(), row.showBefore);
  ::SetForegroundWindow(front.get());
  TTaskPopupMenu menu;
  menu.SetPreselect(false);
  int expected = -1;
  int highlighted = -2;
  AtActionMenu(
      menu, target.get(),
      [&](HWND actions) {
        if (!actions) return menu.Cancel();
        row.item == VK_ESCAPE ? PressInMenu(actions, VK_ESCAPE) : TypeInMenu(actions, static_cast<char>(row.item));
        if (row.item == 's') return;
        WhenNextMenuOpens(actions, [&](HWND) {  // the second look finds the highlight in place
          WhenMenuOpens([&](HWND again) {
            expected = IndexOfWindow(menu.Tasks(), target.get());
            highlighted = ui::HighlightedItem(NativeMenuOf(again));
            PressInMenu(again, VK_ESCAPE);
          });
        });
      },
      row.pressed);
  EXPECT_TRUE(WaitFor([&] { return row.done(target.get()); }))
      << "zoomed " << ::IsZoomed(target.get()) << ", iconic " << ::IsIconic(target.get()) << ", foreground "
      << ::GetForegroundWindow();
  EXPECT_EQ(highlighted, row.item == 's' ? -2 : expected) << "the task menu (not) opened again";
}

bool Normal(HWND wnd) { return !::IsZoomed(wnd) && !::IsIconic(wnd); }

INSTANTIATE_TEST_SUITE_P(
    EachAction, WindowActions,
    ::testing::Values(
        ActionCase{"Switch", VK_APPS, SW_SHOWNORMAL, 's', [](HWND wnd) { return ::GetForegroundWindow() == wnd; }},
        ActionCase{"Maximize", VK_F10, SW_SHOWNORMAL, 'x', [](HWND wnd) { return ::IsZoomed(wnd) != FALSE; }},
        ActionCase{"Restore", VK_APPS, SW_SHOWMAXIMIZED, 'r', &Normal},
        ActionCase{"Minimize", VK_APPS, SW_SHOWNORMAL, 'n', [](HWND wnd) { return ::IsIconic(wnd) != FALSE; }},
        ActionCase{"Close", VK_APPS, SW_SHOWNORMAL, 'c', [](HWND wnd) { return !::IsWindow(wnd); }},
        ActionCase{"Escape", VK_APPS, SW_SHOWMAXIMIZED, VK_ESCAPE, [](HWND wnd) { return ::IsZoomed(wnd) != FALSE; }}),
    [](const ::testing::TestParamInfo<ActionCase>& info) { return std::string(info.param.name); });

TEST(ActionMenuOff, LeavesTheKeyToTheTaskMenu) {
  const base::unique_hwnd target = OwnWindow(Tag("keys"));
  TTaskPopupMenu menu;
  menu.SetActionMenu(false);
  HWND next = target.get();
  AtActionMenu(menu, target.get(), [&](HWND now) {
    next = now;
    menu.Cancel();
  });
  EXPECT_EQ(next, nullptr);
}

// The code under test is linked into this program: its imports are this program's.
DWORD unopenedProcess = 0;
decltype(&::OpenProcess) realOpenProcess = nullptr;

HANDLE WINAPI RefusedForEnding(DWORD access, BOOL inherit, DWORD processId) {
  if (processId == unopenedProcess && (access & PROCESS_TERMINATE)) return nullptr;
  return realOpenProcess(access, inherit, processId);
}

// A window of this program stays listed, so that the task menu opens again after the end.
class EndTask : public ::testing::Test {
 protected:
  EndTask() {
    realOpenProcess = reinterpret_cast<decltype(realOpenProcess)>(refusal.Original());
    unopenedProcess = 0;
    menu.SetPreselect(false);
  }

  bool Running() const { return ::WaitForSingleObject(process.get(), 0) == WAIT_TIMEOUT; }

  FixtureProcess fixture{{"app:" + Tag("to end")}};
  const HWND target = fixture.Window(Tag("to end"));
  const base::unique_kernel_handle process{::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, fixture.Id())};
  ImportPatch refusal{::GetModuleHandleA(nullptr), "kernel32.dll", "OpenProcess",
                      reinterpret_cast<void*>(&RefusedForEnding)};
  const base::unique_hwnd own = OwnWindow(Tag("stays"));
  TTaskPopupMenu menu;
};

// The one real hang of these tests. The first action menu finds the process refused (grey); Esc
// leads back to the task menu, whose entry is highlighted again, and the second finds it offered.
TEST_F(EndTask, EndsAHungProgramOnlyAfterItsConfirmation) {
  ASSERT_TRUE(target && process && realOpenProcess);
  fixture.Hang(20000);
  ASSERT_TRUE(WaitFor([&] { return ::IsHungAppWindow(target); }, 10000)) << "never reported hung";
  unopenedProcess = fixture.Id();
  bool refused = false, offered = false, runningWhileAsked = false;
  int asking = 0;
  AtActionMenu(menu, target, [&](HWND refusing) {
    refused = ItemsOf(refusing) == kEndTaskRow + 1 && Greyed(refusing, kEndTaskRow);
    unopenedProcess = 0;
    PressInMenu(refusing, VK_ESCAPE);
    WhenNextMenuOpens(refusing, [&](HWND) {
      WhenMenuOpens([&](HWND tasks) {
        PressInMenu(tasks, VK_APPS);
        WhenNextMenuOpens(tasks, [&](HWND actions) {
          offered = ItemsOf(actions) == kEndTaskRow + 1 && !Greyed(actions, kEndTaskRow);
          TypeInMenu(actions, 'e');
          WhenNextMenuOpens(actions, [&](HWND confirm) {
            asking = ItemsOf(confirm);
            runningWhileAsked = Running();
            TypeInMenu(confirm, 'y');
            WhenNextMenuOpens(confirm, [](HWND tasksAgain) { PressInMenu(tasksAgain, VK_ESCAPE); });
          });
        });
      });
    });
  });
  EXPECT_TRUE(refused && offered && runningWhileAsked) << refused << offered << runningWhileAsked;
  EXPECT_EQ(asking, kEndTaskRow + 2);
  EXPECT_TRUE(MenuActionRan()) << "the task menu did not open again";
  EXPECT_TRUE(WaitFor([&] { return !Running(); })) << "still running";
  DWORD exitCode = 0;
  EXPECT_TRUE(::GetExitCodeProcess(process.get(), &exitCode) && exitCode == 1) << "exit code " << exitCode;
}

TEST_F(EndTask, IsRefusedForThisProcessTheShellAndAProcessThatCannotBeOpened) {
  EXPECT_FALSE(tasklist::ProcessToEnd::Open(::GetCurrentProcessId(), "taskmenu_test.exe"));
  EXPECT_FALSE(tasklist::ProcessToEnd::Open(fixture.Id(), "explorer.exe"));
  EXPECT_TRUE(tasklist::ProcessToEnd::Open(fixture.Id(), "swivo-fixture.exe"));
  unopenedProcess = fixture.Id();
  EXPECT_FALSE(tasklist::ProcessToEnd::Open(fixture.Id(), "swivo-fixture.exe"));
  EXPECT_TRUE(Running());
}

}  // namespace
