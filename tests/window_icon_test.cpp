// Each task shows its window's own icon first, then its class's, its executable's and last its
// file type's; an executable's icon is read once per collection and version of its file, and never
// from the network; an icon is copied into the menu's images once while its window shows it. The icon windows live on a
// second thread of this process, since Wine reads no other process's icons. This program's first icon is solid red; the
// file type's icon is made cyan by a patch of SHGetFileInfoA, as Wine would give the red one there too.
#include "tasklist/IconLookup.h"
#include "tasklist/TaskRefresh.h"
#include "tasklist/WindowIconQuery.h"
#include "taskmenu/TaskImages.h"
#include "taskmenu/TaskMenu.h"
#include "tests/support/Fixture.h"
#include "tests/support/ImportPatch.h"
#include "tests/support/MenuDriver.h"
#include "tests/support/SlowIconWindow.h"
#include "tests/support/TestWindows.h"

#include <gtest/gtest.h>

#include <shellapi.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

using testing_support::ImportPatch;

namespace {

constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kMagenta = RGB(255, 0, 255);
constexpr COLORREF kYellow = RGB(255, 255, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);  // tests/support/exe-icon.ico
constexpr COLORREF kCyan = RGB(0, 255, 255);
constexpr int kSmall = 16;
constexpr int kBig = 32;
constexpr UINT kHangMessage = WM_APP + 1;

base::unique_hicon SolidIcon(COLORREF colour, int size) {
  const base::unique_hbitmap colourBitmap(::CreateCompatibleBitmap(base::WindowDc(nullptr).get(), size, size));
  const std::vector<BYTE> opaque(static_cast<size_t>(size * size / 8), 0);
  const base::unique_hbitmap mask(::CreateBitmap(size, size, 1, 1, opaque.data()));
  {
    const base::unique_hdc dc(::CreateCompatibleDC(nullptr));
    const base::ScopedSelect select(dc.get(), colourBitmap.get());
    const base::unique_hbrush brush(::CreateSolidBrush(colour));
    const RECT all{0, 0, size, size};
    ::FillRect(dc.get(), &all, brush.get());
  }
  ICONINFO info{TRUE, 0, 0, mask.get(), colourBitmap.get()};
  return base::unique_hicon(::CreateIconIndirect(&info));
}

// The colour in the middle of an image of the list, drawn over white.
COLORREF ImageColour(HIMAGELIST images, int index) {
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), kSmall, -kSmall, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  const base::unique_hbitmap bitmap(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  const base::unique_hdc dc(::CreateCompatibleDC(nullptr));
  const base::ScopedSelect select(dc.get(), bitmap.get());
  const RECT all{0, 0, kSmall, kSmall};
  ::FillRect(dc.get(), &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
  ::ImageList_Draw(images, index, dc.get(), 0, 0, ILD_NORMAL);
  ::GdiFlush();
  const DWORD pixel = static_cast<const DWORD*>(bits)[kSmall / 2 * kSmall + kSmall / 2];
  return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

bool Near(COLORREF a, COLORREF b) {
  return std::abs(GetRValue(a) - GetRValue(b)) < 48 && std::abs(GetGValue(a) - GetGValue(b)) < 48 &&
         std::abs(GetBValue(a) - GetBValue(b)) < 48;
}

// The type's icon, made anew for each call: the menu destroys what the shell made for it.
DWORD_PTR WINAPI CyanTypeIcon(LPCSTR, DWORD, SHFILEINFOA* info, UINT, UINT flags) {
  if (!(flags & SHGFI_ICON)) return 0;
  info->hIcon = SolidIcon(kCyan, kSmall).release();
  return 1;
}

std::map<std::string, int> iconReads;  // ExtractIconExA calls by path
decltype(&::ExtractIconExA) realExtractIconExA;
UINT WINAPI CountIconReads(LPCSTR path, int index, HICON* large, HICON* small, UINT count) {
  ++iconReads[path];
  return realExtractIconExA(path, index, large, small, count);
}

// Drive letters as the object namespace would name them on a machine with network drives.
const std::map<std::string, std::string> kDevices = {
    {"L:", "\\Device\\HarddiskVolume3"},
    {"R:", "\\Device\\Mup\\;LanmanRedirector\\;R:00000000000a1b2c\\server\\share"},
    {"S:", "\\??\\UNC\\server\\share"},
    {"W:", "\\Device\\WebDavRedirector\\;W:00000000000a1b2c\\server\\DavWWWRoot"},
};
decltype(&::QueryDosDeviceA) realQueryDosDeviceA;
DWORD WINAPI FakeDosDevices(LPCSTR name, LPSTR target, DWORD size) {
  const auto found = name ? kDevices.find(name) : kDevices.end();
  if (found == kDevices.end()) return realQueryDosDeviceA(name, target, size);
  lstrcpynA(target, found->second.c_str(), static_cast<int>(size));
  return static_cast<DWORD>(found->second.size() + 2);
}

std::map<HWND, int> iconAsks;
decltype(&::SendMessageTimeoutA) realSendMessageTimeoutA;
LRESULT WINAPI CountIconAsks(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT flags, UINT timeout,
                             PDWORD_PTR result) {
  if (msg == WM_GETICON) ++iconAsks[wnd];
  return realSendMessageTimeoutA(wnd, msg, wParam, lParam, flags, timeout, result);
}

std::map<HWND, int> hungChecks;
decltype(&::IsHungAppWindow) realIsHungAppWindow;
BOOL WINAPI CountHungChecks(HWND wnd) {
  ++hungChecks[wnd];
  return realIsHungAppWindow(wnd);
}

int iconsCopied = 0;
decltype(&::ImageList_ReplaceIcon) realReplaceIcon;
int WINAPI CountCopies(HIMAGELIST images, int index, HICON icon) {
  ++iconsCopied;
  return realReplaceIcon(images, index, icon);
}

// What the menu's owner sees: the rows drawn and the icons copied before the menu first waits for
// input; and it runs `beforeShown` right before the menu is shown.
WNDPROC ownerProc = nullptr;
std::set<ULONG_PTR> rowsDrawn;
int copiesAtShown = -1;
std::function<void()> beforeShown;
LRESULT CALLBACK SpyOnOwner(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  const auto* draw = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
  if (msg == WM_DRAWITEM && copiesAtShown < 0 && ::RectVisible(draw->hDC, &draw->rcItem))
    rowsDrawn.insert(draw->itemData);
  if (msg == WM_ENTERIDLE && copiesAtShown < 0) copiesAtShown = iconsCopied;
  if (msg == WM_INITMENUPOPUP) beforeShown();
  return ::CallWindowProcA(ownerProc, wnd, msg, wParam, lParam);
}

// An application's window procedure that answers WM_GETICON itself for one kind of icon only, with
// the icon kept in the window's user data, and leaves the other kinds to DefWindowProc.
template <WPARAM kKind>
LRESULT CALLBACK AnswersIconOf(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_GETICON && wParam == kKind) return ::GetWindowLongPtrA(wnd, GWLP_USERDATA);
  return ::DefWindowProcA(wnd, msg, wParam, lParam);
}

void RegisterClassWithIcons(const char* name, HICON big, HICON small, WNDPROC procedure = &::DefWindowProcA) {
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = procedure;
  windowClass.lpszClassName = name;
  windowClass.hIcon = big;
  windowClass.hIconSm = small;
  ::RegisterClassExA(&windowClass);
}

// The windows of the icon steps, on a thread of their own that pumps its messages; a posted
// kHangMessage makes it sleep wParam milliseconds; Hang returns once it sleeps.
class IconThread {
 public:
  IconThread() {
    ready_.reset(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
    thread_.reset(::CreateThread(nullptr, 0, &Run, this, 0, &threadId_));
    ::WaitForSingleObject(ready_.get(), 10000);
  }
  ~IconThread() {
    ::PostThreadMessageA(threadId_, WM_QUIT, 0, 0);
    ::WaitForSingleObject(thread_.get(), 10000);
  }
  void Hang(DWORD ms) const {
    ::PostThreadMessageA(threadId_, kHangMessage, ms, 0);
    ::WaitForSingleObject(asleep_.get(), 10000);
  }

  base::unique_hicon green = SolidIcon(kGreen, kSmall);
  base::unique_hicon blue = SolidIcon(kBlue, kBig);
  base::unique_hicon magenta = SolidIcon(kMagenta, kSmall);
  base::unique_hicon yellowBig = SolidIcon(kYellow, kBig);
  base::unique_hicon yellowSmall = SolidIcon(kYellow, kSmall);
  HWND smallIcon = nullptr, bigIcon = nullptr, classAndOwn = nullptr, neither = nullptr, classOnly = nullptr;
  HWND answersBig = nullptr, answersSmall = nullptr;  // their own procedures answer

 private:
  static DWORD WINAPI Run(void* self) { return static_cast<IconThread*>(self)->Loop(); }

  HWND Open(const char* windowClass, const char* caption) const {
    return ::CreateWindowExA(0, windowClass, caption, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 200, 100, nullptr,
                             nullptr, nullptr, nullptr);
  }

  DWORD Loop() {
    RegisterClassWithIcons("WindowIconTestPlain", nullptr, nullptr);
    RegisterClassWithIcons("WindowIconTestClassIcons", yellowBig.get(), yellowSmall.get());
    RegisterClassWithIcons("WindowIconTestBigClassIcon", yellowBig.get(), nullptr);
    smallIcon = Open("WindowIconTestPlain", "small window icon");
    ::SendMessageA(smallIcon, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(green.get()));
    bigIcon = Open("WindowIconTestPlain", "big window icon");
    ::SendMessageA(bigIcon, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(blue.get()));
    classAndOwn = Open("WindowIconTestClassIcons", "class and window icon");
    ::SendMessageA(classAndOwn, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(magenta.get()));
    neither = Open("WindowIconTestPlain", "no icon of its own");
    classOnly = Open("WindowIconTestBigClassIcon", "class icon only");
    RegisterClassWithIcons("WindowIconTestAnswersBig", nullptr, nullptr, &AnswersIconOf<ICON_BIG>);
    RegisterClassWithIcons("WindowIconTestAnswersSmall", nullptr, nullptr, &AnswersIconOf<ICON_SMALL>);
    answersBig = Open("WindowIconTestAnswersBig", "answers for its big icon");
    ::SetWindowLongPtrA(answersBig, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(blue.get()));
    answersSmall = Open("WindowIconTestAnswersSmall", "answers for its small icon");
    ::SetWindowLongPtrA(answersSmall, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(green.get()));
    ::SetEvent(ready_.get());
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
      if (!msg.hwnd && msg.message == kHangMessage) {
        ::SetEvent(asleep_.get());
        ::Sleep(static_cast<DWORD>(msg.wParam));
      }
      ::DispatchMessageA(&msg);
    }
    for (HWND wnd : {smallIcon, bigIcon, classAndOwn, neither, classOnly, answersBig, answersSmall})
      ::DestroyWindow(wnd);
    return 0;
  }

  base::unique_kernel_handle ready_;
  base::unique_kernel_handle asleep_{::CreateEventA(nullptr, FALSE, FALSE, nullptr)};
  base::unique_kernel_handle thread_;
  DWORD threadId_ = 0;
};

constexpr COLORREF kPurple = RGB(128, 0, 128);
// Well past the refresh's bound: the answer comes after the menu opened, also on a busy machine.
constexpr DWORD kSlowAnswerMs = 200;

class WindowIcons : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { icons = std::make_unique<IconThread>(); }
  static void TearDownTestSuite() { icons.reset(); }

  // The colour drawn for the item of each window, after a popup.
  COLORREF ColourOf(HWND wnd) {
    for (int i = 0; i < menu.Tasks().Count(); ++i) {
      if (menu.Tasks().Items(i).Wnd != wnd) continue;
      const int image = menu.Items(i).ImageIndex;
      return image < 0 ? CLR_INVALID : ImageColour(menu.Images(), image);
    }
    ADD_FAILURE() << "window not listed";
    return CLR_INVALID;
  }

  void DismissWhenCopied(int polls = 0) {  // once no item waits for its image, or after some 6 s
    testing_support::WhenMenuOpens([this, polls](HWND open) {
      bool pending = false;
      for (int i = 0; i < menu.ItemCount(); ++i) pending |= menu.Items(i).ImageIndex == ui::TMenuItem::kImagePending;
      if (pending && polls < 200) return DismissWhenCopied(polls + 1);
      testing_support::PressInMenu(open, VK_ESCAPE);
    });
  }

  void PopupAndDismiss() {
    DismissWhenCopied();
    menu.PopupTasks(10, 10);
    ASSERT_TRUE(testing_support::MenuActionRan());
  }

  void SetUp() override {
    iconReads.clear();
    iconsCopied = 0;
    rowsDrawn.clear();
    copiesAtShown = -1;
    beforeShown = [] {};
    menu.CreateOwner();
    ownerProc = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(menu.OwnerWindow(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SpyOnOwner)));
    realReplaceIcon = reinterpret_cast<decltype(realReplaceIcon)>(copyPatch.Original());
    realExtractIconExA = reinterpret_cast<decltype(realExtractIconExA)>(readPatch.Original());
    realSendMessageTimeoutA = reinterpret_cast<decltype(realSendMessageTimeoutA)>(askPatch.Original());
    ASSERT_TRUE(realExtractIconExA && realSendMessageTimeoutA && realReplaceIcon);
  }

  static std::unique_ptr<IconThread> icons;
  ImportPatch readPatch{::GetModuleHandleA(nullptr), "shell32.dll", "ExtractIconExA",
                        reinterpret_cast<void*>(&CountIconReads)};
  ImportPatch typeIcon{::GetModuleHandleA(nullptr), "shell32.dll", "SHGetFileInfoA",
                       reinterpret_cast<void*>(&CyanTypeIcon)};
  ImportPatch askPatch{::GetModuleHandleA(nullptr), "user32.dll", "SendMessageTimeoutA",
                       reinterpret_cast<void*>(&CountIconAsks)};
  ImportPatch copyPatch{::GetModuleHandleA(nullptr), "comctl32.dll", "ImageList_ReplaceIcon",
                        reinterpret_cast<void*>(&CountCopies)};
  taskmenu::TTaskPopupMenu menu;
};

std::unique_ptr<IconThread> WindowIcons::icons;

TEST_F(WindowIcons, EachItemDrawsTheFirstIconFoundAndBorrowedIconsStay) {
  PopupAndDismiss();
  const struct {
    HWND wnd;
    COLORREF expected;
    const char* step;
  } cases[] = {
      {icons->smallIcon, kGreen, "small window icon"},
      {icons->bigIcon, kBlue, "big window icon"},
      {icons->classAndOwn, kMagenta, "window's over class"},
      {icons->neither, kRed, "executable's icon"},
      {icons->classOnly, kYellow, "class icon"},
      {icons->answersBig, kBlue, "big icon its procedure gives"},
  };
  for (const auto& item : cases) {
    const COLORREF drawn = ColourOf(item.wnd);
    EXPECT_TRUE(Near(drawn, item.expected)) << item.step << ": drawn " << std::hex << drawn;
  }
  ICONINFO info{};
  for (HICON borrowed : {icons->green.get(), icons->blue.get(), icons->magenta.get(), icons->yellowBig.get()}) {
    ASSERT_TRUE(::GetIconInfo(borrowed, &info)) << "a borrowed icon was destroyed";
    ::DeleteObject(info.hbmColor);
    ::DeleteObject(info.hbmMask);
  }
}

// Every popup asks every window again; an icon it answered before is not copied again, one it
// changed to is.
TEST_F(WindowIcons, ALaterPopupAsksAgainAndCopiesOnlyAChangedIcon) {
  PopupAndDismiss();
  const int firstCopies = std::exchange(iconsCopied, 0);
  const int images = ::ImageList_GetImageCount(menu.Images());
  EXPECT_GT(firstCopies, 0);
  iconAsks.clear();
  PopupAndDismiss();
  EXPECT_EQ(iconsCopied, 0);
  EXPECT_EQ(iconAsks[icons->smallIcon], 1);
  const base::unique_hicon cyan = SolidIcon(kCyan, kSmall);
  ::SendMessageA(icons->smallIcon, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(cyan.get()));
  PopupAndDismiss();
  ::SendMessageA(icons->smallIcon, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icons->green.get()));
  EXPECT_EQ(iconsCopied, 1);
  EXPECT_PRED2(Near, ColourOf(icons->smallIcon), kCyan);
  EXPECT_EQ(::ImageList_GetImageCount(menu.Images()), images) << "the green image's place was not taken";
}

// Tasks that show one icon share one image, also when one of them is new; a new icon is copied
// only when its item needs it, and once. The window handle and the icon handle may both come back
// for another process: its task is copied anew, into the place of an image no task shows any more.
TEST_F(WindowIcons, AnImageIsKeptForItsWindowProcessAndIconHandle) {
  constexpr int kPending = taskmenu::TaskImages::kPending;
  taskmenu::TaskImages images;
  const HIMAGELIST list = images.Begin(kSmall);
  const HWND wnd = icons->smallIcon;
  const HICON green = icons->green.get();
  EXPECT_EQ(images.Update({{wnd, 1, green}}), std::vector<int>{kPending});
  EXPECT_EQ(iconsCopied, 0) << "copied before its item needed it";
  EXPECT_EQ(images.Add({wnd, 1, green}), 0);
  EXPECT_EQ(images.Update({{icons->neither, 1, green}, {wnd, 1, green}, {wnd, 1, nullptr}}),
            (std::vector<int>{0, 0, -1}));
  EXPECT_EQ(images.Update({{wnd, 2, green}}), std::vector<int>{kPending});
  EXPECT_EQ(images.Add({wnd, 2, green}), 0);
  EXPECT_EQ(iconsCopied, 2);
  const HICON magenta = icons->magenta.get();
  EXPECT_EQ(images.Update({{wnd, 2, magenta}, {icons->neither, 1, green}, {icons->neither, 2, magenta}}),
            (std::vector<int>{kPending, kPending, kPending}));
  EXPECT_EQ(images.Add({wnd, 2, magenta}), 0);
  EXPECT_EQ(images.Add({icons->neither, 2, magenta}), 0);
  EXPECT_EQ(images.Add({icons->neither, 1, green}), 1);
  EXPECT_EQ(iconsCopied, 4);
  EXPECT_PRED2(Near, ImageColour(list, 0), kMagenta);
  EXPECT_PRED2(Near, ImageColour(list, 1), kGreen);
  EXPECT_EQ(images.Begin(kSmall), list) << "the list is kept while the size stays";
}

// Captions too long for columns put the 100 windows in one scrolling column: the rows out of sight
// are copied while the menu waits for input.
TEST_F(WindowIcons, AFirstPopupCopiesTheRowsItDrawsBeforeItIsShownAndTheOthersWhileOpen) {
  std::vector<base::unique_hicon> colours;
  std::vector<base::unique_hwnd> windows;
  for (int i = 0; i < 100; ++i) {
    colours.push_back(SolidIcon(RGB(i * 2, 128, 255 - i * 2), kSmall));
    windows.push_back(testing_support::OwnWindow(std::string(200, 'W')));
    ::SendMessageA(windows.back().get(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(colours.back().get()));
  }
  PopupAndDismiss();
  EXPECT_LT(rowsDrawn.size(), 100u) << "the menu does not scroll";
  EXPECT_GT(copiesAtShown, 0);
  EXPECT_LE(copiesAtShown, static_cast<int>(rowsDrawn.size()));
  for (int i = 0; i < 100; i += 33) EXPECT_PRED2(Near, ColourOf(windows[i].get()), RGB(i * 2, 128, 255 - i * 2));
}

// An icon destroyed after the refresh, before its row is drawn, gives way to the executable's.
TEST_F(WindowIcons, AnIconGoneBeforeItsRowIsDrawnShowsTheTasksNextIcon) {
  base::unique_hicon gone = SolidIcon(kGreen, kSmall);
  const base::unique_hwnd window = testing_support::OwnWindow("icon gone");
  ::SendMessageA(window.get(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(gone.get()));
  beforeShown = [&gone] { gone.reset(); };
  PopupAndDismiss();
  EXPECT_PRED2(Near, ColourOf(window.get()), kRed);
}

// A window that answered for its icon reads its messages: it is not asked whether it is hung. The
// others are asked once per thread.
TEST_F(WindowIcons, OnlyAThreadWhoseWindowsDidNotAnswerIsCheckedForNotRespondingOnce) {
  ImportPatch hung(::GetModuleHandleA(nullptr), "user32.dll", "IsHungAppWindow",
                   reinterpret_cast<void*>(&CountHungChecks));
  realIsHungAppWindow = reinterpret_cast<decltype(realIsHungAppWindow)>(hung.Original());
  ASSERT_TRUE(realIsHungAppWindow);
  hungChecks.clear();
  PopupAndDismiss();
  EXPECT_EQ(hungChecks[icons->smallIcon], 0);
  icons->Hang(1000);
  PopupAndDismiss();
  ::SendMessageA(icons->smallIcon, WM_NULL, 0, 0);  // until it answers again
  int threadChecks = 0;
  for (const HWND wnd : {icons->smallIcon, icons->bigIcon, icons->classAndOwn, icons->neither, icons->classOnly,
                         icons->answersBig, icons->answersSmall}) {
    threadChecks += hungChecks[wnd];
  }
  EXPECT_EQ(threadChecks, 1);
}

// The menu opens without waiting for the slow window, and draws its own icon soon after.
TEST_F(WindowIcons, AWindowTooSlowForTheRefreshGetsItsOwnIconWhileTheMenuIsOpen) {
  const base::unique_hicon purple = SolidIcon(kPurple, kSmall);
  const testing_support::SlowIconWindow slow(purple.get(), kSlowAnswerMs);
  COLORREF atOpen = CLR_INVALID;
  DWORD openedAt = 0;
  DWORD filledAfter = MAXDWORD;
  std::function<void(HWND)> look = [&](HWND open) {
    if (!openedAt) {
      openedAt = ::GetTickCount();
      atOpen = ColourOf(slow.Window());
    }
    const DWORD elapsed = ::GetTickCount() - openedAt;
    if (Near(ColourOf(slow.Window()), kPurple)) filledAfter = elapsed;
    if (filledAfter != MAXDWORD || elapsed > 2000) return testing_support::PressInMenu(open, VK_ESCAPE);
    testing_support::WhenMenuOpens(look);
  };
  testing_support::WhenMenuOpens(look);
  menu.PopupTasks(10, 10);
  EXPECT_FALSE(Near(atOpen, kPurple)) << "the menu waited for the slow window";
  EXPECT_LE(filledAfter, 500u);
}

TEST_F(WindowIcons, WithoutWindowIconsTheClassSmallIconElseTheTypeIcon) {
  menu.SetWindowIcon(false);
  PopupAndDismiss();
  EXPECT_PRED2(Near, ColourOf(icons->smallIcon), kCyan);
  EXPECT_PRED2(Near, ColourOf(icons->bigIcon), kCyan);
  EXPECT_PRED2(Near, ColourOf(icons->classAndOwn), kYellow);
  EXPECT_PRED2(Near, ColourOf(icons->neither), kCyan);
}

TEST_F(WindowIcons, EachExecutableIsReadOnceAcrossTheRefreshesOfACollection) {
  tasklist::TWinInfos tasks;
  for (int refresh = 1; refresh <= 2; ++refresh) {
    tasklist::Refresh(tasks);
    const tasklist::TWinInfo* entry = nullptr;
    for (int i = 0; i < tasks.Count(); ++i) {
      if (tasks.Items(i).Wnd == icons->neither) entry = &tasks.Items(i);
    }
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->Icon.Source(), tasklist::IconSource::kExecutable) << "refresh " << refresh;
  }
  ASSERT_FALSE(iconReads.empty());
  for (const auto& [path, reads] : iconReads) EXPECT_EQ(reads, 1) << path;
}

// An updated program's file has another write time, asked at the next refresh.
TEST_F(WindowIcons, AnExecutableIsReadAgainOnceItsFileWasWritten) {
  const std::string path = testing_support::FixtureCopy("updated.exe");
  tasklist::ExecutableIcons executableIcons;
  (void)executableIcons.For(path);
  executableIcons.BeginRefresh();
  (void)executableIcons.For(path);
  EXPECT_EQ(iconReads[path], 1);
  const base::unique_file_handle file(::CreateFileA(
      path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
  FILETIME written{};
  ASSERT_TRUE(::GetFileTime(file.get(), nullptr, nullptr, &written));
  written.dwHighDateTime += 1;  // about seven minutes later
  ASSERT_TRUE(::SetFileTime(file.get(), nullptr, nullptr, &written));
  (void)executableIcons.For(path);
  EXPECT_EQ(iconReads[path], 1) << "asked twice in one refresh";
  executableIcons.BeginRefresh();
  (void)executableIcons.For(path);
  EXPECT_EQ(iconReads[path], 2);
}

TEST_F(WindowIcons, AFileOnTheNetworkIsNeverReadAndShowsItsTypesIcon) {
  ImportPatch devices(::GetModuleHandleA(nullptr), "kernel32.dll", "QueryDosDeviceA",
                      reinterpret_cast<void*>(&FakeDosDevices));
  realQueryDosDeviceA = reinterpret_cast<decltype(realQueryDosDeviceA)>(devices.Original());
  ASSERT_TRUE(realQueryDosDeviceA);
  tasklist::ExecutableIcons executableIcons;
  tasklist::IconLookup lookup(tasklist::TaskListOptions{}, executableIcons, tasklist::kSmallIconSize);
  for (const char* path : {"\\\\server\\share\\app.exe", "R:\\tools\\app.exe", "S:\\app.exe", "W:\\app.exe"}) {
    EXPECT_EQ(lookup.For(icons->neither, path).Source(), tasklist::IconSource::kFileType) << path;
    EXPECT_EQ(iconReads.count(path), 0u) << path;
  }
  (void)lookup.For(icons->neither, "L:\\tools\\app.exe");
  EXPECT_EQ(iconReads.count("L:\\tools\\app.exe"), 1u) << "a local drive's file was not read";
}

TEST_F(WindowIcons, EachWindowIsAskedForItsBigIconOnlyWhenItGaveNoSmallOne) {
  tasklist::WindowIconQuery query;
  const std::pair<HWND, int> expected[] = {
      {icons->smallIcon, 1}, {icons->bigIcon, 1}, {icons->classAndOwn, 1}, {icons->answersBig, 2}, {icons->neither, 2}};
  for (const auto& [wnd, asks] : expected) {
    iconAsks.clear();
    (void)query.IconOf(wnd);
    EXPECT_EQ(iconAsks[wnd], asks) << wnd;
  }
}

TEST_F(WindowIcons, AThreadThatTimedOutIsNotAskedAgainInThatRefresh) {
  iconAsks.clear();
  constexpr DWORD kHangMs = 2000;
  icons->Hang(kHangMs);
  tasklist::WindowIconQuery query;
  const DWORD start = ::GetTickCount();
  int asked = 0;
  for (HWND wnd : {icons->smallIcon, icons->bigIcon, icons->classAndOwn, icons->neither, icons->classOnly,
                   icons->answersBig, icons->answersSmall}) {
    EXPECT_EQ(query.IconOf(wnd), nullptr);
    asked += iconAsks[wnd];
  }
  EXPECT_LT(::GetTickCount() - start, kHangMs / 2);
  EXPECT_EQ(asked, 1);
  ::SendMessageA(icons->smallIcon, WM_NULL, 0, 0);  // until it answers again
}

}  // namespace
