// The menu on today's screens: measured and drawn at its monitor's DPI in a host that is unaware
// of DPI, and painted light, dark, in high contrast or classic.
#define WINVER 0x0A00  // the DPI functions the tests ask about; the product looks them up

#include "taskmenu/TaskMenu.h"
#include "tests/support/Fixture.h"
#include "tests/support/ImportPatch.h"
#include "tests/support/MenuDriver.h"
#include "tests/support/PluginLibrary.h"
#include "tests/support/TestWindows.h"
#include "ui/MenuTheme.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <cstring>
#include <set>
#include <utility>

using testing_support::ImportPatch;
using testing_support::PressInMenu;
using testing_support::WaitFor;
using testing_support::WhenMenuOpens;

namespace {

// What the stand-ins below saw. The code under test reaches them through import tables.
int processDpiLookups = 0;
int drawnIconSize = 0;
int appMode = 1;  // the host's own preference: allow dark
int flushes = 0;
bool highContrast = false;
std::set<COLORREF> drawnColours;

// The platform's functions themselves, found before any patch: a call by name from this program
// would come back to the stand-in.
template <typename Function>
Function Real(const char* dll, const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA(dll), name)));
}
const auto realLookup = Real<decltype(&::GetProcAddress)>("kernel32.dll", "GetProcAddress");
const auto realParameters = Real<decltype(&::SystemParametersInfoA)>("user32.dll", "SystemParametersInfoA");
const auto realFill = Real<decltype(&::FillRect)>("user32.dll", "FillRect");
const auto realFrame = Real<decltype(&::FrameRect)>("user32.dll", "FrameRect");
const auto realTextColour = Real<decltype(&::SetTextColor)>("gdi32.dll", "SetTextColor");

UINT WINAPI MonitorAt144(HWND) { return 144; }
bool darkWhileMenuHidden = false;
bool restoredWhileMenuShown = false;
int WINAPI SetAppMode(int mode) {
  const bool menuShown = testing_support::OpenMenuWindow() != nullptr;
  if (mode == 2 && !menuShown) darkWhileMenuHidden = true;
  if (mode != 2 && menuShown) restoredWhileMenuShown = true;
  return std::exchange(appMode, mode);
}
void WINAPI FlushMenuThemes() { ++flushes; }

// Windows 11 23H2, whatever Wine answers.
LONG WINAPI Windows11(OSVERSIONINFOW* info) {
  info->dwMajorVersion = 10;
  info->dwMinorVersion = 0;
  info->dwBuildNumber = 22631;
  return 0;
}

FARPROC WINAPI StandInLookup(HMODULE module, LPCSTR name) {
  if (!HIWORD(name)) {
    if (LOWORD(name) == 135) return reinterpret_cast<FARPROC>(&SetAppMode);
    if (LOWORD(name) == 136) return reinterpret_cast<FARPROC>(&FlushMenuThemes);
  } else if (std::strcmp(name, "RtlGetVersion") == 0) {
    return reinterpret_cast<FARPROC>(&Windows11);
  } else if (std::strcmp(name, "GetDpiForWindow") == 0) {
    return reinterpret_cast<FARPROC>(&MonitorAt144);
  } else if (_strnicmp(name, "SetProcessDpi", 13) == 0) {
    ++processDpiLookups;
  }
  return realLookup(module, name);
}

BOOL WINAPI DrawnImage(HIMAGELIST images, int index, HDC dc, int x, int y, UINT style) {
  int height = 0;
  ::ImageList_GetIconSize(images, &drawnIconSize, &height);
  return ::ImageList_Draw(images, index, dc, x, y, style);
}

bool SameContext(DPI_AWARENESS_CONTEXT a, DPI_AWARENESS_CONTEXT b) { return ::AreDpiAwarenessContextsEqual(a, b); }

bool PerMonitor(HWND wnd) {
  return ::GetAwarenessFromDpiAwarenessContext(::GetWindowDpiAwarenessContext(wnd)) == DPI_AWARENESS_PER_MONITOR_AWARE;
}

// The monitor stands at 144 dpi (150 %) for the plug-in; the host thread is unaware of DPI.
TEST(ScreenDpi, UnawareHostGetsAPerMonitorMenuAtTheMonitorsDpi) {
  testing_support::PluginLibrary library;
  ASSERT_TRUE(library.Loaded());
  ImportPatch lookup{library.Module(), "kernel32.dll", "GetProcAddress", reinterpret_cast<void*>(&StandInLookup)};
  ImportPatch draw{library.Module(), "comctl32.dll", "ImageList_Draw", reinterpret_cast<void*>(&DrawnImage)};
  ASSERT_TRUE(lookup.Original() && draw.Original());
  const base::unique_hwnd window = testing_support::OwnWindow(testing_support::Tag("dpi"), 200, 200);
  ::SendMessageA(window.get(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(::LoadIconA(nullptr, IDI_WARNING)));
  const DPI_AWARENESS_CONTEXT before = ::SetThreadDpiAwarenessContext(DPI_AWARENESS_CONTEXT_UNAWARE);
  ASSERT_TRUE(before);
  library.init(library.path.c_str(), 0);
  EXPECT_TRUE(SameContext(::GetThreadDpiAwarenessContext(), DPI_AWARENESS_CONTEXT_UNAWARE)) << "after Init";
  EXPECT_FALSE(PerMonitor(::FindWindowA("TSwivoMainForm", nullptr))) << "its handlers run the host's code";
  EXPECT_TRUE(PerMonitor(::FindWindowA("SwivoPopupMenuOwner", nullptr)));
  RECT item{};
  bool hostAwarenessInTimer = false;
  bool hostWindowUnaware = false;
  // A thread timer of the host's, as the menu's loop runs it.
  WhenMenuOpens([&](HWND open) {
    hostAwarenessInTimer = SameContext(::GetThreadDpiAwarenessContext(), DPI_AWARENESS_CONTEXT_UNAWARE);
    const base::unique_hwnd made = testing_support::OwnWindow(testing_support::Tag("made in the menu"), 50, 50);
    hostWindowUnaware = !PerMonitor(made.get());
    ::GetMenuItemRect(nullptr, testing_support::NativeMenuOf(open), 0, &item);
    PressInMenu(open, VK_ESCAPE);
  });
  library.execute(0, nullptr);
  EXPECT_TRUE(SameContext(::GetThreadDpiAwarenessContext(), DPI_AWARENESS_CONTEXT_UNAWARE)) << "after Execute";
  ASSERT_TRUE(WaitFor([] { return testing_support::MenuActionRan() && !testing_support::OpenMenuWindow(); }, 20000))
      << "menu opened " << testing_support::MenuActionRan() << ", open menu window "
      << testing_support::OpenMenuWindow();
  EXPECT_TRUE(SameContext(::GetThreadDpiAwarenessContext(), DPI_AWARENESS_CONTEXT_UNAWARE)) << "after the menu";
  library.unload();
  ::SetThreadDpiAwarenessContext(before);
  EXPECT_TRUE(hostAwarenessInTimer);
  EXPECT_TRUE(hostWindowUnaware);
  EXPECT_GE(item.bottom - item.top, 24);
  EXPECT_EQ(drawnIconSize, 24);
  EXPECT_EQ(processDpiLookups, 0);
}

struct LookCase {
  int setting;
  bool appsUseLightTheme;
  bool highContrast;
  ui::MenuLook expected;
};

class LookChoice : public ::testing::TestWithParam<LookCase> {};

TEST_P(LookChoice, FollowsTheSettingWindowsAndHighContrast) {
  const LookCase& c = GetParam();
  EXPECT_EQ(ui::ChooseLook(c.setting, {c.appsUseLightTheme, c.highContrast}), c.expected);
}

using ui::MenuLook;
INSTANTIATE_TEST_SUITE_P(
    SettingTimesWindows, LookChoice,
    ::testing::Values(LookCase{0, true, false, MenuLook::kLight}, LookCase{0, false, false, MenuLook::kDark},
                      LookCase{1, false, false, MenuLook::kLight}, LookCase{2, true, false, MenuLook::kDark},
                      LookCase{3, false, false, MenuLook::kClassic}, LookCase{7, false, false, MenuLook::kDark},
                      LookCase{-1, true, false, MenuLook::kLight}, LookCase{0, false, true, MenuLook::kHighContrast},
                      LookCase{2, true, true, MenuLook::kHighContrast},
                      LookCase{3, true, true, MenuLook::kHighContrast}));

// A menu of this program's code, whose imports the stand-ins replace.
class PaintedMenu : public ::testing::Test {
 protected:
  HMODULE self = ::GetModuleHandleA(nullptr);
  ImportPatch lookup{self, "kernel32.dll", "GetProcAddress", reinterpret_cast<void*>(&StandInLookup)};
  base::unique_hwnd window = testing_support::OwnWindow(testing_support::Tag("look"), 220, 220);
  taskmenu::TTaskPopupMenu menu;
};

enum class WayOut { kEscape, kChoice, kUnload };

class DarkAppMode : public PaintedMenu, public ::testing::WithParamInterface<WayOut> {};

// Dark until the menu window exists, then the host's mode again, which the host may change
// meanwhile; the menu's themes are flushed at its end.
TEST_P(DarkAppMode, SetUntilTheMenuWindowExistsAndTheHostsModeKeptOnEveryWayOut) {
  menu.SetTheme(ui::kThemeDark);
  menu.SetAutoHotKey(1);
  darkWhileMenuHidden = restoredWhileMenuShown = false;
  HBRUSH background = nullptr;
  WhenMenuOpens([&](HWND open) {
    appMode = 3;  // the host's own change while the menu is open
    MENUINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = MIM_BACKGROUND;
    ::GetMenuInfo(testing_support::NativeMenuOf(open), &info);
    background = info.hbrBack;
    if (GetParam() == WayOut::kEscape) PressInMenu(open, VK_ESCAPE);
    if (GetParam() == WayOut::kChoice) testing_support::TypeInMenu(open, 'a');
    if (GetParam() == WayOut::kUnload) menu.Cancel();
  });
  menu.PopupTasks(10, 10);
  ASSERT_TRUE(testing_support::MenuActionRan());
  EXPECT_TRUE(darkWhileMenuHidden);
  EXPECT_TRUE(restoredWhileMenuShown);
  EXPECT_TRUE(background);
  EXPECT_EQ(appMode, 3) << "the host's change was overwritten";
  appMode = 1;
  EXPECT_EQ(flushes % 2, 0);
  EXPECT_GE(flushes, 2);
}

INSTANTIATE_TEST_SUITE_P(Ways, DarkAppMode, ::testing::Values(WayOut::kEscape, WayOut::kChoice, WayOut::kUnload));

BOOL WINAPI ContrastOn(UINT action, UINT size, void* data, UINT flags) {
  if (action != SPI_GETHIGHCONTRAST) return realParameters(action, size, data, flags);
  static_cast<HIGHCONTRASTA*>(data)->dwFlags = highContrast ? HCF_HIGHCONTRASTON : 0;
  return TRUE;
}

void NoteBrush(HDC dc, HBRUSH brush) {
  LOGBRUSH logical{};
  if (brush == ::GetStockObject(DC_BRUSH)) logical.lbColor = ::GetDCBrushColor(dc);
  else ::GetObjectA(brush, sizeof(logical), &logical);
  drawnColours.insert(logical.lbColor);
}

int WINAPI NotedFill(HDC dc, const RECT* area, HBRUSH brush) {
  NoteBrush(dc, brush);
  return realFill(dc, area, brush);
}
int WINAPI NotedFrame(HDC dc, const RECT* area, HBRUSH brush) {
  NoteBrush(dc, brush);
  return realFrame(dc, area, brush);
}
COLORREF WINAPI NotedText(HDC dc, COLORREF colour) {
  drawnColours.insert(colour);
  return realTextColour(dc, colour);
}

bool SystemColour(COLORREF colour) {
  for (int index = COLOR_SCROLLBAR; index <= COLOR_MENUBAR; ++index) {
    if (::GetSysColor(index) == colour) return true;
  }
  return false;
}

// Dark is asked for, but high contrast wins; a highlighted item is drawn as well.
TEST_F(PaintedMenu, HighContrastDrawsInSystemColoursOnly) {
  ImportPatch contrast{self, "user32.dll", "SystemParametersInfoA", reinterpret_cast<void*>(&ContrastOn)};
  ImportPatch fill{self, "user32.dll", "FillRect", reinterpret_cast<void*>(&NotedFill)};
  ImportPatch frame{self, "user32.dll", "FrameRect", reinterpret_cast<void*>(&NotedFrame)};
  ImportPatch text{self, "gdi32.dll", "SetTextColor", reinterpret_cast<void*>(&NotedText)};
  highContrast = true;
  drawnColours.clear();
  menu.SetTheme(ui::kThemeDark);
  int modeWhileOpen = -1;
  WhenMenuOpens([&](HWND open) {
    modeWhileOpen = appMode;
    PressInMenu(open, VK_DOWN);
    WhenMenuOpens([](HWND settled) { PressInMenu(settled, VK_ESCAPE); });
  });
  menu.PopupTasks(10, 10);
  highContrast = false;
  ASSERT_TRUE(testing_support::MenuActionRan());
  EXPECT_GE(drawnColours.size(), 3u) << "menu, highlight and text colours";
  for (const COLORREF colour : drawnColours) EXPECT_TRUE(SystemColour(colour)) << std::hex << colour;
  EXPECT_EQ(modeWhileOpen, 1) << "never dark";
}

}  // namespace
