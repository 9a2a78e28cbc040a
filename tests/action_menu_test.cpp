// A task's action menu: its keys on the highlighted entry, what each action does to the window, the
// task menu again with the same entry highlighted, and End task for a program that stopped
// responding.
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

using taskmenu::TTaskPopupMenu;
using testing_support::FixtureProcess;
using testing_support::IndexOfWindow;
using testing_support::NativeMenuOf;
using testing_support::PressInMenu;
using testing_support::Tag;
using testing_support::TypeInMenu;
using testing_support::WaitFor;
using testing_support::WhenNextMenuOpens;

namespace {

constexpr int kEndTaskRow = 5;  // below the five window actions

int ItemsOf(HWND menuWindow) { return ::GetMenuItemCount(NativeMenuOf(menuWindow)); }
bool Greyed(HWND menuWindow, int row) {
  return (::GetMenuState(NativeMenuOf(menuWindow), static_cast<UINT>(row), MF_BYPOSITION) & MF_GRAYED) != 0;
}

void SetShift(bool down) {
  BYTE keys[256];
  ::GetKeyboardState(keys);
  keys[VK_SHIFT] = down ? 0x80 : 0;
  ::SetKeyboardState(keys);
}

HWND taskMenuWindow = nullptr;  // the task menu in which AtActionMenu pressed its key

// Pops the task menu up, highlights the target's entry, presses `key` there (Shift+F10 for
// VK_F10), and runs `next` in the menu open once the key is handled: the action menu, or the task
// menu itself if the key did not ask for it.
void AtActionMenu(TTaskPopupMenu& menu, HWND target, std::function<void(HWND)> next, WPARAM key = VK_APPS) {
  testing_support::WhenMenuOpens([&menu, target, next, key](HWND open) {
    taskMenuWindow = open;
    ui::HighlightItem(open, NativeMenuOf(open), IndexOfWindow(menu.Tasks(), target));
    SetShift(key == VK_F10);
    ::PostMessageA(open, key == VK_F10 ? WM_SYSKEYDOWN : WM_KEYDOWN, key, 0);
    // Posted messages come before the look's timer: the key has been handled by then.
    testing_support::WhenMenuOpens([next](HWND now) {
      SetShift(false);
      next(now);
    });
  });
  menu.PopupTasks(10, 10);
}

struct KeyCase {
  WPARAM key;
  bool setting;
  bool opens;
};

class ActionMenuKeys : public ::testing::TestWithParam<KeyCase> {};

// Turned off, the key goes to the task menu, which stays open.
TEST_P(ActionMenuKeys, OpenTheHighlightedTasksActionMenuInPlaceOfTheTaskMenu) {
  const base::unique_hwnd target = testing_support::OwnWindow(Tag("keys"));
  TTaskPopupMenu menu;
  menu.SetPreselect(false);
  menu.SetActionMenu(GetParam().setting);
  bool opened = false;
  int items = 0;
  AtActionMenu(
      menu, target.get(),
      [&](HWND now) {
        opened = now != taskMenuWindow;
        items = ItemsOf(now);
        menu.Cancel();
      },
      GetParam().key);
  ASSERT_TRUE(testing_support::MenuActionRan());
  EXPECT_EQ(opened, GetParam().opens);
  if (opened) {
    EXPECT_EQ(items, kEndTaskRow);
  }
}

INSTANTIATE_TEST_SUITE_P(Keys, ActionMenuKeys,
                         ::testing::Values(KeyCase{VK_APPS, true, true}, KeyCase{VK_F10, true, true},
                                           KeyCase{VK_APPS, false, false}));

struct ActionCase {
  const char* name;
  int showBefore;  // ShowWindow command that prepares the window
  WPARAM key;      // the item's accelerator, or VK_ESCAPE
  bool tasksAgain;
  std::function<bool(HWND)> done;
};

class WindowActions : public ::testing::TestWithParam<ActionCase> {};

// The window is of this thread: the posted command is carried out while the task menu is open again.
TEST_P(WindowActions, ArePostedAndTheTaskMenuOpensAgainOnTheSameEntry) {
  const ActionCase& row = GetParam();
  const base::unique_hwnd target = testing_support::OwnWindow(Tag("acted on"), 30, 30, 200, 150);
  const base::unique_hwnd front = testing_support::OwnWindow(Tag("in front"), 60, 60);
  ::ShowWindow(target.get(), row.showBefore);
  ::SetForegroundWindow(front.get());
  TTaskPopupMenu menu;
  menu.SetPreselect(false);
  int expected = -1;
  int highlighted = -2;
  AtActionMenu(menu, target.get(), [&](HWND actions) {
    row.key == VK_ESCAPE ? PressInMenu(actions, VK_ESCAPE) : TypeInMenu(actions, static_cast<char>(row.key));
    if (!row.tasksAgain) return;
    // The second look finds the highlight in place.
    WhenNextMenuOpens(actions, [&](HWND) {
      testing_support::WhenMenuOpens([&](HWND again) {
        expected = IndexOfWindow(menu.Tasks(), target.get());
        highlighted = ui::HighlightedItem(NativeMenuOf(again));
        PressInMenu(again, VK_ESCAPE);
      });
    });
  });
  EXPECT_TRUE(WaitFor([&] { return row.done(target.get()); }))
      << "zoomed " << ::IsZoomed(target.get()) << ", iconic " << ::IsIconic(target.get()) << ", window "
      << ::IsWindow(target.get()) << ", foreground " << ::GetForegroundWindow();
  if (!row.tasksAgain) {
    EXPECT_EQ(highlighted, -2) << "the task menu opened again";
    return;
  }
  ASSERT_GE(expected, 0);
  EXPECT_EQ(highlighted, expected);
}

bool Normal(HWND wnd) { return !::IsZoomed(wnd) && !::IsIconic(wnd); }

INSTANTIATE_TEST_SUITE_P(
    EachAction, WindowActions,
    ::testing::Values(
        ActionCase{"Switch", SW_SHOWNORMAL, 's', false, [](HWND wnd) { return ::GetForegroundWindow() == wnd; }},
        ActionCase{"Maximize", SW_SHOWNORMAL, 'x', true, [](HWND wnd) { return ::IsZoomed(wnd) != FALSE; }},
        ActionCase{"Restore", SW_SHOWMAXIMIZED, 'r', true, &Normal},
        ActionCase{"Minimize", SW_SHOWNORMAL, 'n', true, [](HWND wnd) { return ::IsIconic(wnd) != FALSE; }},
        ActionCase{"Close", SW_SHOWNORMAL, 'c', true, [](HWND wnd) { return !::IsWindow(wnd); }},
        ActionCase{"Escape", SW_SHOWMAXIMIZED, VK_ESCAPE, true, [](HWND wnd) { return ::IsZoomed(wnd) != FALSE; }}),
    [](const ::testing::TestParamInfo<ActionCase>& info) { return std::string(info.param.name); });

// The code under test is linked into this program: its imports are this program's.
DWORD unopenedProcess = 0;
decltype(&::OpenProcess) realOpenProcess = nullptr;

HANDLE WINAPI RefusedForEnding(DWORD access, BOOL inherit, DWORD processId) {
  if (processId == unopenedProcess && (access & PROCESS_TERMINATE)) {
    ::SetLastError(ERROR_ACCESS_DENIED);
    return nullptr;
  }
  return realOpenProcess(access, inherit, processId);
}

// A window of this program stays listed, so that the task menu opens again after the end.
class EndTask : public ::testing::Test {
 protected:
  EndTask()
      : fixture({"app:" + Tag("to end")}),
        target(fixture.Window(Tag("to end"))),
        process(::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, fixture.Id())) {
    realOpenProcess = reinterpret_cast<decltype(realOpenProcess)>(refusal.Original());
    unopenedProcess = 0;
    menu.SetPreselect(false);
  }

  bool Running() const { return ::WaitForSingleObject(process.get(), 0) == WAIT_TIMEOUT; }

  FixtureProcess fixture;
  const HWND target;
  const base::unique_kernel_handle process;
  testing_support::ImportPatch refusal{::GetModuleHandleA(nullptr), "kernel32.dll", "OpenProcess",
                                       reinterpret_cast<void*>(&RefusedForEnding)};
  const base::unique_hwnd own = testing_support::OwnWindow(Tag("stays"));
  TTaskPopupMenu menu;
};

// The one real hang of these tests. The first action menu finds the process refused (grey); Esc
// leads back to the task menu, where the second finds it offered.
TEST_F(EndTask, EndsAHungProgramOnlyAfterItsConfirmation) {
  ASSERT_TRUE(target && process && realOpenProcess);
  fixture.Hang(20000);
  ASSERT_TRUE(WaitFor([&] { return ::IsHungAppWindow(target); }, 10000)) << "never reported hung";
  unopenedProcess = fixture.Id();
  bool refused = false;
  bool offered = false;
  int asking = 0;
  bool runningWhileAsked = false;
  AtActionMenu(menu, target, [&](HWND refusing) {
    refused = ItemsOf(refusing) == kEndTaskRow + 1 && Greyed(refusing, kEndTaskRow);
    unopenedProcess = 0;
    PressInMenu(refusing, VK_ESCAPE);
    // At the second look the task menu has highlighted the same entry again.
    WhenNextMenuOpens(refusing, [&](HWND) {
      testing_support::WhenMenuOpens([&](HWND tasks) {
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
  EXPECT_TRUE(refused);
  EXPECT_TRUE(offered);
  EXPECT_EQ(asking, kEndTaskRow + 2);
  EXPECT_TRUE(runningWhileAsked);
  EXPECT_TRUE(testing_support::MenuActionRan()) << "the task menu did not open again";
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
