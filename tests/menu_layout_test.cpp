// What the task menu gives screen readers, the mark of a window that stopped responding, and how
// the menu fits the work area: long captions cut, many items in columns.
#include "base/WideText.h"
#include "taskmenu/TaskMenu.h"
#include "tests/support/Fixture.h"
#include "tests/support/ImportPatch.h"
#include "tests/support/MenuDriver.h"
#include "tests/support/TestWindows.h"
#include "ui/ItemText.h"
#include "ui/WorkArea.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cwchar>
#include <memory>
#include <string>

using taskmenu::TTaskPopupMenu;
using testing_support::FixtureProcess;
using testing_support::ImportPatch;
using testing_support::PressInMenu;
using testing_support::Tag;
using testing_support::WhenMenuOpens;

namespace {

constexpr wchar_t kNotResponding[] = L" (\u5FDC\u7B54\u306A\u3057)";
constexpr RECT kShortWorkArea{0, 0, 1024, 200};
RECT patchedWorkArea = kShortWorkArea;
const auto kFakeMonitor = reinterpret_cast<HMONITOR>(0x5151);

HMONITOR WINAPI OneShortMonitor(POINT, DWORD) { return kFakeMonitor; }

BOOL WINAPI ShortMonitorInfo(HMONITOR monitor, MONITORINFO* info) {
  if (monitor != kFakeMonitor) return FALSE;
  info->rcMonitor = {0, 0, 1024, 768};
  info->rcWork = patchedWorkArea;
  return TRUE;
}

// Runs `inspect(menuWindow, nativeMenu)` while the menu is open, then dismisses it.
template <typename Inspect>
void PopupAndInspect(TTaskPopupMenu& menu, Inspect inspect) {
  WhenMenuOpens([&](HWND open) {
    inspect(open, testing_support::NativeMenuOf(open));
    PressInMenu(open, VK_ESCAPE);
  });
  menu.PopupTasks(10, 10);
  ASSERT_TRUE(testing_support::MenuActionRan());
}

class MenuLayout : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    fixture = std::make_unique<FixtureProcess>(std::vector<std::string>{"many:20:" + Tag("layout")});
  }
  static void TearDownTestSuite() { fixture.reset(); }

  void SetUp() override {
    menu.SetAutoHotKey(1);
    // Characters outside code page 932, and far longer than any menu should be wide.
    longCaption = base::WidenAnsi(Tag("long")) + L" \u00e9\u2603 " + std::wstring(300, L'w');
    longWindow.reset(::CreateWindowExW(0, L"STATIC", longCaption.c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 100,
                                       100, nullptr, nullptr, nullptr, nullptr));
  }

  static std::unique_ptr<FixtureProcess> fixture;
  TTaskPopupMenu menu;
  std::wstring longCaption;
  base::unique_hwnd longWindow;
};

std::unique_ptr<FixtureProcess> MenuLayout::fixture;

TEST_F(MenuLayout, EveryItemNamesForScreenReadersWhatItShows) {
  PopupAndInspect(menu, [&](HWND, HMENU native) {
    ASSERT_EQ(::GetMenuItemCount(native), menu.ItemCount());
    for (int i = 0; i < menu.ItemCount(); ++i) {
      MENUITEMINFOW info{};
      info.cbSize = sizeof(info);
      info.fMask = MIIM_DATA | MIIM_FTYPE;
      ASSERT_TRUE(::GetMenuItemInfoW(native, static_cast<UINT>(i), TRUE, &info));
      EXPECT_TRUE(info.fType & MFT_OWNERDRAW);
      const auto* data = reinterpret_cast<const MSAAMENUINFO*>(info.dwItemData);
      ASSERT_TRUE(data);
      EXPECT_EQ(data->dwMSAASignature, static_cast<DWORD>(MSAA_MENU_SIG)) << "item " << i;
      const std::wstring name(data->pszWText, data->cchWText);
      EXPECT_EQ(name.size(), std::wcslen(data->pszWText));
      std::wstring shown = menu.Tasks().Items(i).Caption.Shown();
      if (i < 30) shown += std::wstring(L"(") + static_cast<wchar_t>(L'a' + i) + L")";
      EXPECT_EQ(name, shown) << "item " << i;
    }
  });
  const int index = testing_support::IndexOfWindow(menu.Tasks(), longWindow.get());
  ASSERT_GE(index, 0);
  EXPECT_EQ(menu.Tasks().Items(index).Caption.Shown(), longCaption);
  EXPECT_EQ(ui::AccessibleText({L"Fish && &Chips", kNotResponding, L"(&q)"}),
            std::wstring(L"Fish & Chips") + kNotResponding + L"(q)");
}

TEST_F(MenuLayout, ALongCaptionIsCutWhileItsMarkAndSuffixStayWhole) {
  const RECT workArea = ui::WorkAreaNear({10, 10});
  const int capWidth = (workArea.right - workArea.left) * ui::kMaxItemWidthPercent / 100;
  int widest = 0;
  PopupAndInspect(menu, [&](HWND open, HMENU native) {
    for (int i = 0; i < ::GetMenuItemCount(native); ++i) {
      RECT item{};
      ASSERT_TRUE(::GetMenuItemRect(open, native, static_cast<UINT>(i), &item));
      widest = std::max<int>(widest, item.right - item.left);
    }
  });
  EXPECT_GT(widest, capWidth / 2);
  // The platform adds its check-mark column to each item: Windows its width less one pixel, Wine
  // one pixel more.
  EXPECT_LE(widest, capWidth + 1) << "check-mark column " << ::GetSystemMetrics(SM_CXMENUCHECK);

  base::unique_hdc dc(::CreateCompatibleDC(nullptr));
  const ui::ItemText text{longCaption, kNotResponding, L"(&a)"};
  const ui::ItemTextLayout whole = ui::LayOutItemText(dc.get(), text, 100000);
  const ui::ItemTextLayout cut = ui::LayOutItemText(dc.get(), text, 300);
  EXPECT_EQ(cut.Width(), 300);
  EXPECT_LT(cut.captionWidth, whole.captionWidth);
  EXPECT_EQ(cut.markWidth, whole.markWidth);
  EXPECT_GT(cut.suffixWidth, 0);
  EXPECT_EQ(cut.suffixWidth, whole.suffixWidth);
}

// The monitor functions of the code under test, linked into this program, see `workArea`.
struct PatchedWorkArea {
  explicit PatchedWorkArea(const RECT& workArea) { patchedWorkArea = workArea; }
  ~PatchedWorkArea() { patchedWorkArea = kShortWorkArea; }
  ImportPatch monitor{::GetModuleHandleA(nullptr), "user32.dll", "MonitorFromPoint",
                      reinterpret_cast<void*>(&OneShortMonitor)};
  ImportPatch info{::GetModuleHandleA(nullptr), "user32.dll", "GetMonitorInfoW",
                   reinterpret_cast<void*>(&ShortMonitorInfo)};
};

// Columns that would not fit the work area's width leave one column that the platform scrolls.
TEST_F(MenuLayout, ColumnsWiderThanTheWorkAreaGiveWayToOneScrollingColumn) {
  const PatchedWorkArea narrow(RECT{0, 0, 300, 200});
  ASSERT_TRUE(narrow.monitor.Original() && narrow.info.Original());
  int breaks = -1;
  PopupAndInspect(menu, [&](HWND, HMENU native) {
    breaks = 0;
    for (int i = 0; i < ::GetMenuItemCount(native); ++i) {
      if (::GetMenuState(native, static_cast<UINT>(i), MF_BYPOSITION) & MF_MENUBARBREAK) ++breaks;
    }
  });
  ASSERT_GE(menu.ItemCount(), 21);
  EXPECT_EQ(breaks, 0);
}

TEST_F(MenuLayout, ItemsTallerThanTheWorkAreaGoOnInColumnsWithoutScrolling) {
  const PatchedWorkArea patched(kShortWorkArea);
  ASSERT_TRUE(patched.monitor.Original() && patched.info.Original());
  int columns = 1;
  PopupAndInspect(menu, [&](HWND open, HMENU native) {
    RECT window{};
    ::GetWindowRect(open, &window);
    EXPECT_LE(window.bottom - window.top, kShortWorkArea.bottom - kShortWorkArea.top);
    for (int i = 0; i < ::GetMenuItemCount(native); ++i) {
      if (::GetMenuState(native, static_cast<UINT>(i), MF_BYPOSITION) & MF_MENUBARBREAK) ++columns;
      RECT item{};
      ASSERT_TRUE(::GetMenuItemRect(open, native, static_cast<UINT>(i), &item));
      EXPECT_GE(item.top, window.top) << "item " << i << " scrolled out";
      EXPECT_LE(item.bottom, window.bottom) << "item " << i << " scrolled out";
    }
  });
  ASSERT_GE(menu.ItemCount(), 21);
  EXPECT_GE(columns, 3);
}

TEST(NotRespondingMark, AHungWindowIsMarkedUntilItAnswersAgain) {
  FixtureProcess fixture({"app:" + Tag("hung")});
  const HWND target = fixture.Window(Tag("hung"));
  ASSERT_TRUE(target);
  TTaskPopupMenu menu;
  auto markOfTarget = [&] {
    WhenMenuOpens([](HWND open) { PressInMenu(open, VK_ESCAPE); });
    menu.PopupTasks(10, 10);
    const int index = testing_support::IndexOfWindow(menu.Tasks(), target);
    return index < 0 ? std::wstring(L"unlisted") : menu.Items(index).Text.Mark;
  };
  fixture.Hang(9000);
  ASSERT_TRUE(testing_support::WaitFor([&] { return ::IsHungAppWindow(target); }, 8000)) << "never reported hung";
  EXPECT_EQ(markOfTarget(), kNotResponding);
  const int index = testing_support::IndexOfWindow(menu.Tasks(), target);
  EXPECT_TRUE(index >= 0 && menu.Items(index).Enabled);
  ASSERT_TRUE(testing_support::WaitFor([&] { return !::IsHungAppWindow(target); }, 8000)) << "still reported hung";
  EXPECT_EQ(markOfTarget(), L"");
}

}  // namespace
