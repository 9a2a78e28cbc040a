// The task popup menu, popped up for real and driven by keys posted to the open menu.
#include "base/WideText.h"
#include "taskmenu/TaskMenu.h"
#include "tests/support/Fixture.h"
#include "tests/support/ImportPatch.h"
#include "tests/support/LibraryFailure.h"
#include "tests/support/MenuDriver.h"
#include "tests/support/TestWindows.h"
#include "ui/MenuChar.h"

#include <gtest/gtest.h>

#include <memory>
#include <shellapi.h>
#include <string>

using taskmenu::TTaskPopupMenu;
using testing_support::FixtureProcess;
using testing_support::PressInMenu;
using testing_support::TypeInMenu;
using testing_support::WhenMenuOpens;

namespace {

using testing_support::Tag;

int IndexOfWindow(const TTaskPopupMenu& menu, HWND wnd) {
  for (int i = 0; i < menu.Tasks().Count(); ++i) {
    if (menu.Tasks().Items(i).Wnd == wnd) return i;
  }
  return -1;
}

void PopupAndDismiss(TTaskPopupMenu& menu) {
  WhenMenuOpens([](HWND open) { PressInMenu(open, VK_ESCAPE); });
  menu.PopupTasks(10, 10);
}

class TaskMenu : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    fixture = std::make_unique<FixtureProcess>(std::vector<std::string>{"many:32:" + Tag("window")});
  }
  static void TearDownTestSuite() { fixture.reset(); }

  static std::unique_ptr<FixtureProcess> fixture;
  TTaskPopupMenu menu;
};

std::unique_ptr<FixtureProcess> TaskMenu::fixture;

TEST_F(TaskMenu, OneItemPerTaskWithTheCaptionsOfEachAcceleratorStyle) {
  struct Style {
    int value;
    const char* separator;  // nullptr: no suffix
  };
  for (const Style style : {Style{0, nullptr}, Style{1, ""}, Style{2, " "}, Style{3, nullptr}, Style{-1, nullptr}}) {
    SCOPED_TRACE(style.value);
    menu.SetAutoHotKey(style.value);
    PopupAndDismiss(menu);
    ASSERT_TRUE(testing_support::MenuActionRan());
    ASSERT_GE(menu.Tasks().Count(), 32);
    ASSERT_EQ(menu.ItemCount(), menu.Tasks().Count());
    for (int i = 0; i < menu.ItemCount(); ++i) {
      std::wstring expected = menu.Tasks().Items(i).Caption.Shown();
      if (style.separator && i < 30) {
        expected += base::WidenAnsi(std::string(style.separator) + "(&" + char('a' + i) + ")");
      }
      EXPECT_EQ(ui::WholeText(menu.Items(i).Text), expected) << "item " << i;
    }
  }
}

TEST_F(TaskMenu, AcceleratorsPastZAndNoneFromTheThirtyFirstItem) {
  menu.SetAutoHotKey(1);
  PopupAndDismiss(menu);
  ASSERT_GE(menu.ItemCount(), 31);
  const std::wstring expected[] = {L"(&{)", L"(&|)", L"(&})", L"(&~)"};
  for (int i = 26; i < 30; ++i) {
    const std::wstring caption = ui::WholeText(menu.Items(i).Text);
    EXPECT_EQ(caption.substr(caption.size() - 4), expected[i - 26]);
  }
  for (int i = 30; i < menu.ItemCount(); ++i)
    EXPECT_EQ(ui::WholeText(menu.Items(i).Text), menu.Tasks().Items(i).Caption.Shown());
}

TEST_F(TaskMenu, TypingAnAcceleratorChoosesItsItemAndActivatesTheTask) {
  const HWND target = fixture->Window(Tag("window 32"));
  ASSERT_TRUE(target);
  base::unique_hwnd mine(::CreateWindowExA(0, "STATIC", Tag("foreground").c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0,
                                           0, 100, 100, nullptr, nullptr, nullptr, nullptr));
  ::SetForegroundWindow(mine.get());
  menu.SetAutoHotKey(1);
  PopupAndDismiss(menu);  // learn the positions
  const int index = IndexOfWindow(menu, target);
  ASSERT_GE(index, 0);
  ASSERT_LT(index, 26);

  const LONG_PTR before = testing_support::ActivationCount(target);
  WhenMenuOpens([index](HWND open) { TypeInMenu(open, static_cast<char>('a' + index)); });
  menu.PopupTasks(10, 10);
  ASSERT_EQ(IndexOfWindow(menu, target), index);
  EXPECT_TRUE(testing_support::Raised(target, before));  // the choice arrives as a posted command
}

TEST_F(TaskMenu, AnUnknownKeyLeavesTheMenuOpen) {
  bool stillOpen = false;
  WhenMenuOpens([&](HWND open) {
    TypeInMenu(open, '#');
    testing_support::WhenMenuOpens([&](HWND again) {
      stillOpen = true;
      PressInMenu(again, VK_ESCAPE);
    });
  });
  menu.PopupTasks(10, 10);
  EXPECT_TRUE(stillOpen);
}

TEST_F(TaskMenu, ANestedPopupReturnsAtOnceAndLeavesTheOpenMenuAlone) {
  menu.SetAutoHotKey(1);
  int itemsWhileOpen = -1;
  bool nestedReturned = false;
  WhenMenuOpens([&](HWND open) {
    itemsWhileOpen = menu.ItemCount();
    EXPECT_TRUE(menu.InPopup());
    menu.PopupTasks(50, 50);
    nestedReturned = true;
    EXPECT_EQ(menu.ItemCount(), itemsWhileOpen);
    EXPECT_EQ(::FindWindowA("#32768", nullptr), open) << "a second menu opened";
    PressInMenu(open, VK_ESCAPE);
  });
  menu.PopupTasks(10, 10);
  EXPECT_TRUE(nestedReturned);
  EXPECT_FALSE(menu.InPopup());
}

TEST_F(TaskMenu, AnErrorInTheRefreshEndsThePopupAndTheNextOneWorks) {
  {
    testing_support::LibraryFailure noPsapi("PSAPI.DLL");
    try {
      menu.PopupTasks(10, 10);
      ADD_FAILURE() << "no error";
    } catch (const base::Error& error) {
      EXPECT_STREQ(error.what(),
                   "PSAPI.DLL \x82\xaa\x83\x8d\x81[\x83h\x82\xc5\x82\xab\x82\xdc\x82\xb9\x82\xf1\x81"
                   "B");
    }
    EXPECT_FALSE(menu.InPopup());
    EXPECT_EQ(menu.ItemCount(), 0);
  }
  PopupAndDismiss(menu);
  EXPECT_TRUE(testing_support::MenuActionRan());
  EXPECT_GT(menu.ItemCount(), 0);
}

DWORD_PTR WINAPI NoShellIcon(const char*, DWORD, SHFILEINFOA*, UINT, UINT) { return 0; }

TEST_F(TaskMenu, AnEntryWithoutIconGetsAnItemWithoutImageAndTheOthersKeepTheirs) {
  // This process's window classes: one with a small icon, one without; the shell gives none.
  WNDCLASSEXA withIcon{};
  withIcon.cbSize = sizeof(withIcon);
  withIcon.lpfnWndProc = &::DefWindowProcA;
  withIcon.lpszClassName = "TaskMenuTestIcon";
  withIcon.hIconSm = static_cast<HICON>(
      ::LoadImageA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION), IMAGE_ICON, 16, 16, LR_SHARED));
  ::RegisterClassExA(&withIcon);
  base::unique_hwnd iconed(::CreateWindowExA(0, withIcon.lpszClassName, Tag("iconed").c_str(),
                                             WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 100, 100, nullptr, nullptr,
                                             nullptr, nullptr));
  base::unique_hwnd plain(::CreateWindowExA(0, "STATIC", Tag("plain").c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                            100, 100, nullptr, nullptr, nullptr, nullptr));
  testing_support::ImportPatch patch(::GetModuleHandleA(nullptr), "shell32.dll", "SHGetFileInfoA",
                                     reinterpret_cast<void*>(&NoShellIcon));
  ASSERT_TRUE(patch.Original());
  PopupAndDismiss(menu);
  const int plainIndex = IndexOfWindow(menu, plain.get());
  const int iconedIndex = IndexOfWindow(menu, iconed.get());
  ASSERT_GE(plainIndex, 0);
  ASSERT_GE(iconedIndex, 0);
  EXPECT_EQ(menu.Items(plainIndex).ImageIndex, -1);
  EXPECT_GE(menu.Items(iconedIndex).ImageIndex, 0);
  EXPECT_LT(menu.Items(iconedIndex).ImageIndex, ::ImageList_GetImageCount(menu.Images()));
}

TEST(MenuChar, AcceleratorIsTheCharacterAfterTheLastSingleAmpersand) {
  EXPECT_EQ(ui::AcceleratorOf("Save &As(&s)"), 's');
  EXPECT_EQ(ui::AcceleratorOf("Fish && Chips"), '\0');
  EXPECT_EQ(ui::AcceleratorOf("&&&x"), 'x');
  EXPECT_EQ(ui::AcceleratorOf("plain"), '\0');
  EXPECT_EQ(ui::AcceleratorOf("end&"), '\0');
  // 0x83 0x26 is one double-byte character in code page 932: its second byte is no '&'.
  EXPECT_EQ(ui::AcceleratorOf("\x83&x"), '\0');
}

TEST(MenuChar, AcceleratorsFirstThenFirstLettersCyclingWithoutChoosing) {
  std::vector<ui::MenuKey> keys;
  for (const char* caption : {"Alpha", "beta", "apple", "&Zed", "Car(&b)"}) keys.push_back(ui::MenuKeyOf(caption));
  // 'b' is Car's accelerator: accelerators win over first letters, one match executes.
  EXPECT_EQ(ui::AnswerMenuChar('b', keys, -1), MAKELRESULT(4, MNC_EXECUTE));
  EXPECT_EQ(ui::AnswerMenuChar('z', keys, -1), MAKELRESULT(3, MNC_EXECUTE));
  // Two captions start with 'a' (either case): highlight cycles 0, 2, 0.
  EXPECT_EQ(ui::AnswerMenuChar('A', keys, -1), MAKELRESULT(0, MNC_SELECT));
  EXPECT_EQ(ui::AnswerMenuChar('a', keys, 0), MAKELRESULT(2, MNC_SELECT));
  EXPECT_EQ(ui::AnswerMenuChar('a', keys, 2), MAKELRESULT(0, MNC_SELECT));
  EXPECT_EQ(ui::AnswerMenuChar('a', keys, 1), MAKELRESULT(0, MNC_SELECT));
  // "Car(&b)" has an accelerator, so its first letter does not count.
  EXPECT_EQ(ui::AnswerMenuChar('c', keys, -1), MNC_IGNORE);
  EXPECT_EQ(ui::AnswerMenuChar('#', keys, -1), MNC_IGNORE);
}

}  // namespace
