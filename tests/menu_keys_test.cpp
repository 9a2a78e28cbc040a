// The keys of an open task menu beyond choosing by letter: Enter on the preselected previous task,
// Delete and Shift+Delete on the highlighted one.
#include "taskmenu/TaskMenu.h"
#include "tasklist/TaskRefresh.h"
#include "tests/support/Fixture.h"
#include "tests/support/ImportPatch.h"
#include "tests/support/MenuDriver.h"
#include "tests/support/TestWindows.h"
#include "ui/OpenMenu.h"

#include <gtest/gtest.h>

#include <imm.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

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

namespace {

// Keys typed into the open menu, one look at a time: '\r' is Enter, '\x1b' Esc, '\b' Backspace;
// '%' stands for the accelerator letter of the alpha window's item.
constexpr char kEnter = '\r';
constexpr char kEsc = '\x1b';

HWND QueryWindow() { return ::FindWindowA("SwivoQueryWindow", nullptr); }

std::wstring QueryShown() {
  wchar_t text[64] = {};
  if (const HWND query = QueryWindow()) ::GetWindowTextW(query, text, 64);
  return text;
}

// Three windows of this thread, the slash one's caption beginning with '/'.
class Finding : public ::testing::Test {
 protected:
  Finding() {
    beeps = 0;
    ::SetForegroundWindow(plain.get());
  }

  int Index(HWND wnd) const { return testing_support::IndexOfWindow(menu.Tasks(), wnd); }
  int Highlighted(HWND open) const { return ui::HighlightedItem(testing_support::NativeMenuOf(open)); }

  void Type(HWND open, const std::string& keys) const {
    for (const char key : keys) {
      if (key == kEnter || key == kEsc) {
        PressInMenu(open, key == kEnter ? VK_RETURN : VK_ESCAPE);
      } else {
        testing_support::TypeInMenu(open, key == '%' ? static_cast<char>('a' + Index(alpha.get())) : key);
      }
    }
  }

  // Runs each stage at a look at the open menu after the keys of the one before have been read.
  void PopupWith(std::vector<std::function<void(HWND)>> stages, size_t next = 0) {
    if (next == 0) {
      WhenMenuSettles([this, stages](HWND) { PopupWith(stages, 1); });
      menu.PopupTasks(10, 10);
      return;
    }
    WhenMenuOpens([this, stages, next](HWND open) {
      stages[next - 1](open);
      if (next < stages.size()) PopupWith(stages, next + 1);
    });
  }

  bool Chosen(HWND wnd) {
    testing_support::Flush();
    return ::GetForegroundWindow() == wnd;
  }

  testing_support::ImportPatch beep{::GetModuleHandleA(nullptr), "user32.dll", "MessageBeep",
                                    reinterpret_cast<void*>(&CountedBeep)};
  const base::unique_hwnd alpha = testing_support::OwnWindow(Tag("qxv alpha"));
  const base::unique_hwnd plain = testing_support::OwnWindow(Tag("plain"));
  const base::unique_hwnd beta = testing_support::OwnWindow(Tag("qxv beta"));
  const base::unique_hwnd slash = testing_support::OwnWindow("/" + Tag("slash"));
  TTaskPopupMenu menu;
};

TEST_F(Finding, AQueryDimsMarksAndStepsAmongMatchesUntilEnterChooses) {
  int first = -1, second = -1, before = -1;
  PopupWith({
      [&](HWND open) { Type(open, "/qxv"); },
      [&](HWND open) {
        first = std::min(Index(alpha.get()), Index(beta.get()));
        second = std::max(Index(alpha.get()), Index(beta.get()));
        EXPECT_EQ(QueryShown(), L"/qxv");
        EXPECT_EQ(Highlighted(open), first);
        EXPECT_TRUE(menu.Items(Index(plain.get())).Dimmed);
        EXPECT_FALSE(menu.Items(first).Dimmed);
        EXPECT_FALSE(menu.Items(first).Marks.empty());
        PressInMenu(open, VK_DOWN);
      },
      [&](HWND open) {
        EXPECT_EQ(Highlighted(open), second);
        PressInMenu(open, VK_DOWN);  // round to the first match
      },
      [&](HWND open) {
        EXPECT_EQ(Highlighted(open), first);
        PressInMenu(open, VK_UP);
      },
      [&](HWND open) {
        before = Highlighted(open);
        EXPECT_EQ(before, second);
        Type(open, "z");
      },
      [&](HWND open) {
        EXPECT_EQ(beeps, 1);
        EXPECT_TRUE(menu.Items(first).Dimmed && menu.Items(second).Dimmed);
        EXPECT_EQ(Highlighted(open), before);
        Type(open, "\b\b");
      },
      [&](HWND open) {
        EXPECT_EQ(QueryShown(), L"/qx");
        Type(open, "\x1b");
      },
      [&](HWND open) {
        EXPECT_EQ(QueryShown(), L"/");
        for (int i = 0; i < menu.ItemCount(); ++i) EXPECT_FALSE(menu.Items(i).Dimmed) << i;
        Type(open, "QXV ALPHA\r");
      },
  });
  EXPECT_FALSE(QueryWindow());
  EXPECT_TRUE(Chosen(alpha.get()));
}

// "memo" finds "メモ帳" by the romaji of its kana.
TEST_F(Finding, ARomajiQueryFindsAKanaCaption) {
  const std::wstring caption = L"\u30E1\u30E2\u5E33 " + std::to_wstring(::GetCurrentProcessId());
  const base::unique_hwnd kana(::CreateWindowExW(0, L"STATIC", caption.c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                                 100, 100, nullptr, nullptr, nullptr, nullptr));
  PopupWith({[&](HWND open) { Type(open, "/memo\r"); }});
  EXPECT_TRUE(Chosen(kana.get()));
}

struct KeysCase {
  int find;
  int autoHotKey;
  const char* keys;
  bool alphaChosen;  // else the slash window, or nothing for keys that end with Esc
  bool slashChosen;
};

class FindingKeys : public Finding, public ::testing::WithParamInterface<KeysCase> {};

// Each popup ends with the keys' choice, or closes after two Esc.
TEST_P(FindingKeys, ChooseAsTheSettingsSay) {
  menu.SetFind(GetParam().find);
  menu.SetAutoHotKey(GetParam().autoHotKey);
  PopupWith({[&](HWND open) { Type(open, GetParam().keys); }});
  EXPECT_EQ(Chosen(alpha.get()), GetParam().alphaChosen);
  EXPECT_EQ(::GetForegroundWindow() == slash.get(), GetParam().slashChosen);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, FindingKeys,
    ::testing::Values(KeysCase{taskmenu::kFindOff, taskmenu::kNoAccelerator, "/", false, true},
                      KeysCase{taskmenu::kFindBySlash, taskmenu::kNoAccelerator, "/qxv alpha\r", true, false},
                      KeysCase{taskmenu::kFindBySlash, taskmenu::kAcceleratorAppended, "%", true, false},
                      KeysCase{taskmenu::kFindBySlash, taskmenu::kAcceleratorAppended, "/%\x1b\x1b", false, false},
                      KeysCase{taskmenu::kFindByTyping, taskmenu::kNoAccelerator, "qxv al\r", true, false},
                      KeysCase{taskmenu::kFindByTyping, taskmenu::kAcceleratorAfterSpace, "%", true, false}));

// The owner window's input context is gone while the menu is open and back after it, however it
// closes; the query window goes with the menu. Off, finding leaves the context alone.
TEST_F(Finding, TheOwnerTypesWithoutInputContextAndTheQueryWindowGoesWithTheMenu) {
  menu.CreateOwner();
  const HWND owner = menu.OwnerWindow();
  const HIMC before = ::ImmCreateContext();  // the null driver gives windows none of their own
  const HIMC initial = ::ImmAssociateContext(owner, before);
  // Off, '/' would choose the slash window; a cancelled menu opens no more, so it comes last.
  for (const auto& [find, keys, cancel] :
       {std::tuple{taskmenu::kFindOff, "", false}, std::tuple{taskmenu::kFindBySlash, "/", false},
        std::tuple{taskmenu::kFindBySlash, "/", true}}) {
    menu.SetFind(find);
    HIMC during = nullptr;
    HWND queryDuring = nullptr;
    PopupWith({[&](HWND open) { Type(open, keys); },
               [&](HWND open) {
                 during = ::ImmGetContext(owner);
                 ::ImmReleaseContext(owner, during);
                 queryDuring = QueryWindow();
                 if (cancel) return menu.Cancel();  // as an unload does
                 Type(open, "\x1b");
               }});
    EXPECT_EQ(during, find == taskmenu::kFindOff ? before : nullptr) << find;
    EXPECT_EQ(queryDuring != nullptr, find != taskmenu::kFindOff) << find;
    EXPECT_FALSE(QueryWindow());
    const HIMC after = ::ImmGetContext(owner);
    ::ImmReleaseContext(owner, after);
    EXPECT_EQ(after, before);
  }
  ::ImmAssociateContext(owner, initial);
  ::ImmDestroyContext(before);
}

}  // namespace
