// The keys of an open task menu beyond choosing by letter: Enter on the preselected previous task,
// Delete and Shift+Delete on the highlighted one.
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
using testing_support::PressInMenu;
using testing_support::Tag;
using testing_support::WaitFor;
using testing_support::WhenMenuOpens;

namespace {

// Runs `action` at the second look at the open menu: by then it has waited for input once, which
// is when it takes its first highlight.
void WhenMenuSettles(std::function<void(HWND)> action) {
  WhenMenuOpens([action](HWND) { WhenMenuOpens(action); });
}

struct PreselectCase {
  bool sortByCaption;
  bool preselect;
};

class Preselection : public ::testing::TestWithParam<PreselectCase> {};

// The captions sort the other way round from the windows' z-order.
TEST_P(Preselection, HighlightsTheTaskBehindTheFrontOneAndEnterChoosesIt) {
  const base::unique_hwnd behind = testing_support::OwnWindow(Tag("a behind"), 300, 300);
  const base::unique_hwnd front = testing_support::OwnWindow(Tag("b front"), 320, 320);
  ::SetForegroundWindow(behind.get());
  ::SetForegroundWindow(front.get());
  TTaskPopupMenu menu;
  menu.SetSortTitle(GetParam().sortByCaption);
  menu.SetPreselect(GetParam().preselect);
  int highlighted = -2;
  WhenMenuSettles([&](HWND open) {
    highlighted = ui::HighlightedItem(testing_support::NativeMenuOf(open));
    PressInMenu(open, GetParam().preselect ? VK_RETURN : VK_ESCAPE);
  });
  menu.PopupTasks(10, 10, front.get());
  ASSERT_TRUE(testing_support::MenuActionRan());
  if (!GetParam().preselect) {
    EXPECT_EQ(highlighted, -1);
    return;
  }
  EXPECT_EQ(highlighted, testing_support::IndexOfWindow(menu.Tasks(), behind.get()));
  EXPECT_TRUE(WaitFor([&] { return ::GetForegroundWindow() == behind.get(); }))
      << "foreground " << ::GetForegroundWindow() << ", expected " << behind.get();
}

INSTANTIATE_TEST_SUITE_P(SortAndSetting, Preselection,
                         ::testing::Values(PreselectCase{false, true}, PreselectCase{true, true},
                                           PreselectCase{true, false}));

// Hooks and beeps of the code under test, which is linked into this program.
int hooksInstalled = 0;
int beeps = 0;
bool refusePosts = false;

// The platform's function itself: a call by name from this program would come back to the patch.
template <typename Function>
Function* Real(Function*, const char* name) {
  return reinterpret_cast<Function*>(reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("user32.dll"), name)));
}

HHOOK WINAPI CountedSetHook(int kind, HOOKPROC proc, HINSTANCE module, DWORD thread) {
  ++hooksInstalled;
  return Real(&::SetWindowsHookExA, "SetWindowsHookExA")(kind, proc, module, thread);
}
BOOL WINAPI CountedUnhook(HHOOK hook) {
  --hooksInstalled;
  return Real(&::UnhookWindowsHookEx, "UnhookWindowsHookEx")(hook);
}
BOOL WINAPI CountedBeep(UINT) {
  ++beeps;
  return TRUE;
}
// A target above our integrity level refuses posts.
BOOL WINAPI MaybeRefusedPost(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (refusePosts && msg == WM_SYSCOMMAND) {
    ::SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  return Real(&::PostMessageA, "PostMessageA")(wnd, msg, wParam, lParam);
}

class CloseKeys : public ::testing::Test {
 protected:
  CloseKeys() : fixture({"app:" + Tag("to close")}), target(fixture.Window(Tag("to close"))) {
    hooksInstalled = beeps = 0;
    refusePosts = false;
  }

  // Highlights the target's item in the open menu, presses Delete, reads the item's state while
  // the menu is still open, then leaves the menu with `exitKey`. Returns the state.
  UINT PressDelete(bool shift, WPARAM exitKey = VK_ESCAPE) {
    UINT state = ~0u;
    WhenMenuOpens([&](HWND open) {
      const int index = testing_support::IndexOfWindow(menu.Tasks(), target);
      ASSERT_GE(index, 0);
      ui::HighlightItem(open, testing_support::NativeMenuOf(open), index);
      SetShift(shift);
      PressInMenu(open, VK_DELETE);
      WhenMenuOpens([&, index](HWND again) {
        SetShift(false);
        state = ::GetMenuState(testing_support::NativeMenuOf(again), static_cast<UINT>(index), MF_BYPOSITION);
        PressInMenu(again, exitKey);
      });
    });
    menu.PopupTasks(10, 10);
    return state;
  }

  static void SetShift(bool down) {
    BYTE keys[256];
    ::GetKeyboardState(keys);
    keys[VK_SHIFT] = down ? 0x80 : 0;
    ::SetKeyboardState(keys);
  }

  const HMODULE self = ::GetModuleHandleA(nullptr);
  testing_support::ImportPatch setHook{self, "user32.dll", "SetWindowsHookExA",
                                       reinterpret_cast<void*>(&CountedSetHook)};
  testing_support::ImportPatch unhook{self, "user32.dll", "UnhookWindowsHookEx",
                                      reinterpret_cast<void*>(&CountedUnhook)};
  testing_support::ImportPatch beep{self, "user32.dll", "MessageBeep", reinterpret_cast<void*>(&CountedBeep)};
  testing_support::ImportPatch post{self, "user32.dll", "PostMessageA", reinterpret_cast<void*>(&MaybeRefusedPost)};
  FixtureProcess fixture;
  const HWND target;
  TTaskPopupMenu menu;
};

// The target's thread does not read messages meanwhile: the menu answers all the same, and the
// window closes or minimises once its thread is back.
TEST_F(CloseKeys, DeleteClosesAndGreysShiftDeleteMinimisesAHungWindowWithoutWaiting) {
  ASSERT_TRUE(target);
  fixture.Hang(3000);
  EXPECT_FALSE(PressDelete(true) & MF_GRAYED);
  EXPECT_TRUE(WaitFor([&] { return ::IsIconic(target); }, 15000)) << "not minimised, window " << ::IsWindow(target);
  EXPECT_TRUE(PressDelete(false) & MF_GRAYED);
  EXPECT_TRUE(WaitFor([&] { return !::IsWindow(target); }, 15000)) << "still there, minimised " << ::IsIconic(target);
  EXPECT_EQ(beeps, 0);
  EXPECT_EQ(hooksInstalled, 0);
}

TEST_F(CloseKeys, ARefusedPostBeepsAndLeavesTheItem) {
  refusePosts = true;
  EXPECT_FALSE(PressDelete(false) & MF_GRAYED);
  EXPECT_EQ(beeps, 1);
  EXPECT_TRUE(::IsWindow(target));
}

// Escape, a choice, and the menu cancelled from within (as an unload does) each remove the filter.
TEST_F(CloseKeys, TheFilterLivesOnlyWhileTheMenuIsOpen) {
  int whileOpen = 0;
  for (const WPARAM exitKey : {WPARAM{VK_ESCAPE}, WPARAM{VK_RETURN}}) {
    WhenMenuOpens([&](HWND open) {
      whileOpen = hooksInstalled;
      ui::HighlightItem(open, testing_support::NativeMenuOf(open), 0);
      PressInMenu(open, exitKey);
    });
    menu.PopupTasks(10, 10);
    testing_support::Flush();  // the choice's command
    EXPECT_EQ(whileOpen, 1);
    EXPECT_EQ(hooksInstalled, 0);
  }
  WhenMenuOpens([&](HWND) { menu.Cancel(); });
  menu.PopupTasks(10, 10);
  EXPECT_TRUE(testing_support::MenuActionRan());
  EXPECT_EQ(hooksInstalled, 0);
}

TEST_F(CloseKeys, TurnedOffTheKeysInstallNoFilterAndCloseNothing) {
  menu.SetCloseKey(false);
  EXPECT_FALSE(PressDelete(false) & MF_GRAYED);
  testing_support::PumpMessages(300);  // time for the fixture to close the window, were it asked to
  EXPECT_TRUE(::IsWindow(target));
  EXPECT_EQ(hooksInstalled, 0);
}

}  // namespace
