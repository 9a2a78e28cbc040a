// The task collection against real windows of fixture processes.
#include "base/EnumWindows.h"
#include "base/WindowThread.h"
#include "tasklist/NUnit.h"
#include "tasklist/TaskRefresh.h"
#include "tasklist/WindowQueries.h"
#include "tests/support/CloakStandIn.h"
#include "tests/support/Fixture.h"
#include "tests/support/ImportPatch.h"
#include "tests/support/TestWindows.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

using tasklist::TWinInfo;
using tasklist::TWinInfos;
using testing_support::FixtureProcess;

namespace {

using testing_support::IndexOfWindow;
using testing_support::Tag;

const TWinInfo* EntryWithRoot(const TWinInfos& tasks, HWND root) {
  for (int i = 0; i < tasks.Count(); ++i) {
    if (tasks.Items(i).RootWnd == root) return &tasks.Items(i);
  }
  return nullptr;
}

// This thread's top-level windows, in Z-order.
std::vector<HWND> ThreadWindows() {
  std::vector<HWND> windows;
  base::EnumTopLevelWindows([&](HWND wnd) {
    if (base::ThreadOf(wnd).thread == ::GetCurrentThreadId()) windows.push_back(wnd);
    return true;
  });
  return windows;
}

int EntriesWithWindow(const TWinInfos& tasks, HWND wnd) {
  int count = 0;
  for (int i = 0; i < tasks.Count(); ++i) count += tasks.Items(i).Wnd == wnd || tasks.Items(i).RootWnd == wnd;
  return count;
}

// Stands in for user32's HungWindowFromGhostWindow, which Wine lacks, offered through this
// program's imports of GetProcAddress.
HWND fakeGhost = nullptr;
HWND fakeHungWindow = nullptr;
decltype(&::GetProcAddress) realGetProcAddress;
HWND WINAPI FakeHungWindowFromGhostWindow(HWND ghost) { return ghost == fakeGhost ? fakeHungWindow : nullptr; }
FARPROC WINAPI OfferHungWindowFromGhostWindow(HMODULE module, LPCSTR name) {
  if (!IS_INTRESOURCE(name) && std::strcmp(name, "HungWindowFromGhostWindow") == 0) {
    return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(&FakeHungWindowFromGhostWindow));
  }
  return realGetProcAddress(module, name);
}

// The first of `candidates` that EnumWindows lists.
HWND FirstInEnumerationOrder(const FixtureProcess& process, HWND a, HWND b) {
  for (HWND wnd : process.Windows()) {
    if (wnd == a || wnd == b) return wnd;
  }
  return nullptr;
}

class TaskCollection : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    arrangements = std::make_unique<FixtureProcess>(std::vector<std::string>{
        "app:" + Tag("app"), "app:" + Tag("app two"), "modal:" + Tag("modal"), "owned:" + Tag("owned"),
        "hiddenroot:" + Tag("hiddenroot"), "zeroroot:" + Tag("zeroroot"), "tooldialog:" + Tag("tooldialog"),
        "tooldialogs:" + Tag("tooldialogs"), "toolowned:" + Tag("toolowned"), "minimized:" + Tag("minimized"),
        "noicon:" + Tag("noicon"), "hidden:" + Tag("hidden"), "disabled:" + Tag("disabled"), "tool:" + Tag("tool"),
        // usable windows that a user cannot switch to, and one that he can
        "cloaked:" + Tag("cloaked"), "ofclass:Ghost:" + Tag("ghost"), "ofclass:Progman:" + Tag("Progman"),
        "ofclass:WorkerW:" + Tag("WorkerW"), "ofclass:Shell_TrayWnd:" + Tag("Shell_TrayWnd"),
        "ofclass:Shell_SecondaryTrayWnd:" + Tag("Shell_SecondaryTrayWnd"),
        "ofclass:Windows.UI.Core.CoreWindow:" + Tag("core window"), "offtaskbar:" + Tag("offtaskbar"),
        "noactivate:" + Tag("noactivate"), "shellwindow:" + Tag("shellwindow"), "noactivateapp:" + Tag("noactivateapp"),
        "cloakedowned:" + Tag("cloakedowned")});
  }
  static void TearDownTestSuite() { arrangements.reset(); }

  void SetUp() override { tasklist::Refresh(tasks); }

  HWND Window(const std::string& name) const {
    HWND wnd = arrangements->Window(Tag(name));
    EXPECT_TRUE(wnd) << "no fixture window " << Tag(name);
    return wnd;
  }

  static std::unique_ptr<FixtureProcess> arrangements;
  testing_support::CloakStandIn cloaking;
  TWinInfos tasks;
};

std::unique_ptr<FixtureProcess> TaskCollection::arrangements;

TEST_F(TaskCollection, PlainWindowIsItsOwnTaskWithCaptionIconAndExecutable) {
  const HWND app = Window("app");
  const TWinInfo* entry = EntryWithRoot(tasks, app);
  ASSERT_TRUE(entry);
  EXPECT_EQ(entry->Wnd, app);
  EXPECT_EQ(entry->Caption.Ansi(), Tag("app"));
  EXPECT_EQ(entry->ExeName, "swivo-fixture.exe");
  // Wine reads no class icon of another process's window, so this one may come from the shell.
  EXPECT_TRUE(entry->Icon);
}

TEST_F(TaskCollection, WindowWithoutClassIconGetsTheShellIconOfItsExecutable) {
  const TWinInfo* entry = EntryWithRoot(tasks, Window("noicon"));
  ASSERT_TRUE(entry);
  EXPECT_TRUE(entry->Icon);
  EXPECT_TRUE(entry->Icon.MadeByShell());
}

TEST_F(TaskCollection, TwoUnownedWindowsOfOneProgramAreTwoTasks) {
  EXPECT_EQ(EntriesWithWindow(tasks, Window("app")), 1);
  EXPECT_EQ(EntriesWithWindow(tasks, Window("app two")), 1);
}

TEST_F(TaskCollection, DisabledMainWindowIsReachedThroughItsModalDialog) {
  const TWinInfo* entry = EntryWithRoot(tasks, Window("modal"));
  ASSERT_TRUE(entry);
  EXPECT_EQ(entry->Wnd, Window("modal dialog"));
  EXPECT_EQ(entry->Caption.Ansi(), Tag("modal dialog"));
}

TEST_F(TaskCollection, UsableMainWindowWinsOverItsOwnedWindow) {
  const TWinInfo* entry = EntryWithRoot(tasks, Window("owned"));
  ASSERT_TRUE(entry);
  EXPECT_EQ(entry->Wnd, Window("owned"));
  EXPECT_EQ(EntriesWithWindow(tasks, Window("owned owned")), 0);
}

TEST_F(TaskCollection, UnusableRootIsReachedThroughItsFirstOwnedWindow) {
  for (const char* kind : {"hiddenroot", "zeroroot"}) {
    SCOPED_TRACE(kind);
    const std::string name = kind;
    const TWinInfo* entry = EntryWithRoot(tasks, Window(name + " root"));
    ASSERT_TRUE(entry);
    const HWND first = FirstInEnumerationOrder(*arrangements, Window(name + " first"), Window(name + " second"));
    EXPECT_EQ(entry->Wnd, first);
    EXPECT_EQ(entry->Caption.Ansi(), tasklist::WindowTextOf(first));
    EXPECT_EQ(EntriesWithWindow(tasks, Window(name + " root")), 1);
  }
}

TEST_F(TaskCollection, DialogsUnderAHiddenToolWindowAreOneTask) {
  const TWinInfo* single = EntryWithRoot(tasks, Window("tooldialog tool"));
  ASSERT_TRUE(single);
  EXPECT_EQ(single->Wnd, Window("tooldialog dialog 1"));

  const TWinInfo* pair = EntryWithRoot(tasks, Window("tooldialogs tool"));
  ASSERT_TRUE(pair);
  EXPECT_EQ(pair->Wnd,
            FirstInEnumerationOrder(*arrangements, Window("tooldialogs dialog 1"), Window("tooldialogs dialog 2")));
  EXPECT_EQ(EntriesWithWindow(tasks, Window("tooldialogs tool")), 1) << "the second root entry is pruned";
}

TEST_F(TaskCollection, UnusableWindowsAreNeverListed) {
  for (const char* name : {"toolowned tool", "toolowned owned", "hidden", "disabled", "tool"}) {
    EXPECT_EQ(EntriesWithWindow(tasks, Window(name)), 0) << name;
  }
}

TEST_F(TaskCollection, WindowsAUserCannotSwitchToAreNeverListed) {
  ASSERT_EQ(::GetShellWindow(), Window("shellwindow"));
  for (const char* name : {"cloaked", "ghost", "Progman", "WorkerW", "Shell_TrayWnd", "Shell_SecondaryTrayWnd",
                           "core window", "offtaskbar", "noactivate", "shellwindow"}) {
    EXPECT_EQ(EntriesWithWindow(tasks, Window(name)), 0) << name;
  }
  EXPECT_EQ(EntriesWithWindow(tasks, Window("noactivateapp")), 1) << "WS_EX_APPWINDOW asks for a task";
}

// Without the system's link from a ghost to its hung window (Wine) the ghost is left out above.
TEST_F(TaskCollection, AGhostStandsForItsHungWindowOnlyWhileThatIsNotListed) {
  testing_support::ImportPatch lookUp(::GetModuleHandleA(nullptr), "kernel32.dll", "GetProcAddress",
                                      reinterpret_cast<void*>(&OfferHungWindowFromGhostWindow));
  realGetProcAddress = reinterpret_cast<decltype(realGetProcAddress)>(lookUp.Original());
  ASSERT_TRUE(realGetProcAddress);
  fakeGhost = Window("ghost");
  fakeHungWindow = Window("hidden");
  tasklist::Refresh(tasks);
  EXPECT_EQ(EntriesWithWindow(tasks, fakeGhost), 1);
  const int index = IndexOfWindow(tasks, fakeGhost);
  ASSERT_GE(index, 0);
  EXPECT_EQ(tasks.Items(index).Caption.Ansi(), Tag("ghost"));

  fakeHungWindow = Window("app");
  tasklist::Refresh(tasks);
  EXPECT_EQ(EntriesWithWindow(tasks, fakeGhost), 0);
}

TEST_F(TaskCollection, HiddenRootSkipsItsCloakedOwnedWindowForTheNextUsableOne) {
  const HWND cloaked = Window("cloakedowned cloaked");
  const HWND plain = Window("cloakedowned plain");
  ASSERT_EQ(FirstInEnumerationOrder(*arrangements, cloaked, plain), cloaked);
  const TWinInfo* entry = EntryWithRoot(tasks, Window("cloakedowned root"));
  ASSERT_TRUE(entry);
  EXPECT_EQ(entry->Wnd, plain);
  EXPECT_EQ(EntriesWithWindow(tasks, cloaked), 0);
}

TEST_F(TaskCollection, MinimisedWindowIsListedAndActivateRestoresItWithoutWaitingForItsSlowThread) {
  const HWND minimized = Window("minimized");
  ASSERT_TRUE(::IsIconic(minimized));
  const int index = IndexOfWindow(tasks, minimized);
  ASSERT_GE(index, 0);
  arrangements->SlowDownNext(testing_support::SlowStep::kMove, 1500);
  const DWORD start = ::GetTickCount();
  tasks.Activate(index);
  EXPECT_LT(::GetTickCount() - start, 500u);
  EXPECT_TRUE(testing_support::WaitFor([&] { return !::IsIconic(minimized); })) << "still minimised";
  ::ShowWindow(minimized, SW_SHOWMINNOACTIVE);
}

TEST_F(TaskCollection, EveryWindowToActivateIsUsable) {
  for (int i = 0; i < tasks.Count(); ++i) {
    const HWND wnd = tasks.Items(i).Wnd;
    const LONG style = ::GetWindowLongA(wnd, GWL_STYLE);
    EXPECT_TRUE(style & WS_VISIBLE) << tasks.Items(i).Caption.Ansi();
    EXPECT_FALSE(style & WS_DISABLED) << tasks.Items(i).Caption.Ansi();
    EXPECT_FALSE(::GetWindowLongA(wnd, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) << tasks.Items(i).Caption.Ansi();
  }
}

TEST(TaskCollectionOwnWindows, HiddenWindowsOfThisProcessAreNotListedAndAWindowWithoutTextIs) {
  const std::string tag = Tag("own hidden");
  base::unique_hwnd hidden(::CreateWindowExA(0, "STATIC", tag.c_str(), WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                                             nullptr, nullptr, nullptr));
  FixtureProcess untitled({"notext"});
  const HWND noText = untitled.Windows().at(0);

  TWinInfos tasks;
  tasklist::Refresh(tasks);
  EXPECT_EQ(EntriesWithWindow(tasks, hidden.get()), 0);
  const int index = IndexOfWindow(tasks, noText);
  ASSERT_GE(index, 0);
  EXPECT_EQ(tasks.Items(index).Caption.Ansi(), "");
}

TEST(TaskCollectionOwnWindows, ClassSmallIconIsBorrowedNotMade) {
  const HICON smallIcon = static_cast<HICON>(
      ::LoadImageA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION), IMAGE_ICON, 16, 16, LR_SHARED));
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = &::DefWindowProcA;
  windowClass.lpszClassName = "TaskListTestWithIcon";
  windowClass.hIconSm = smallIcon;
  ::RegisterClassExA(&windowClass);
  base::unique_hwnd wnd(::CreateWindowExA(0, windowClass.lpszClassName, Tag("class icon").c_str(),
                                          WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 100, 100, nullptr, nullptr, nullptr,
                                          nullptr));
  TWinInfos tasks;
  tasklist::Refresh(tasks);
  const int index = IndexOfWindow(tasks, wnd.get());
  ASSERT_GE(index, 0);
  EXPECT_EQ(tasks.Items(index).Icon.Handle(), smallIcon);
  EXPECT_FALSE(tasks.Items(index).Icon.MadeByShell());
}

TEST(TaskCollectionOwnWindows, ActivateOnAClosedWindowChangesNothing) {
  base::unique_hwnd wnd = testing_support::OwnWindow(Tag("closing"));
  const base::unique_hwnd front = testing_support::OwnWindow(Tag("in front"));
  TWinInfos tasks;
  tasklist::Refresh(tasks);
  const int index = IndexOfWindow(tasks, wnd.get());
  ASSERT_GE(index, 0);
  wnd.reset();
  ::SetForegroundWindow(front.get());
  const std::vector<HWND> before = ThreadWindows();
  EXPECT_NO_THROW(tasks.Activate(index));
  testing_support::Flush();
  EXPECT_EQ(::GetForegroundWindow(), front.get());
  EXPECT_EQ(ThreadWindows(), before) << "a window was made or restored";
}

// The executable name a fresh refresh gives the window's task; "(unlisted)" for none.
std::string ExeNameOfTask(HWND wnd) {
  TWinInfos tasks;
  tasklist::Refresh(tasks);
  const int index = IndexOfWindow(tasks, wnd);
  return index < 0 ? "(unlisted)" : tasks.Items(index).ExeName;
}

TEST(TaskCollectionOwnWindows, HostWindowsAreListedWithTheHostExecutable) {
  base::unique_hwnd wnd(::CreateWindowExA(0, "STATIC", Tag("host window").c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0,
                                          0, 100, 100, nullptr, nullptr, nullptr, nullptr));
  EXPECT_EQ(ExeNameOfTask(wnd.get()), "tasklist_test.exe");
}

TEST(TaskCollectionExecutables, OtherWidthProcessHasItsExecutableName) {
  FixtureProcess other({"app:" + Tag("other width")}, testing_support::OtherWidthFixturePath());
  EXPECT_EQ(ExeNameOfTask(other.Window(Tag("other width"))), "swivo-fixture.exe");
}

TEST(TaskCollectionExecutables, UpperCaseExecutableNameIsLowerCased) {
  FixtureProcess renamed({"app:" + Tag("renamed")}, testing_support::FixtureCopy("Upper-CASE.EXE"));
  EXPECT_EQ(ExeNameOfTask(renamed.Window(Tag("renamed"))), "upper-case.exe");
}

// On systems outside the NT family the paths come from a process snapshot and every icon from
// the shell; shell icons are the collection's to destroy.
TEST(TaskCollectionOlderSystems, PathsFromTheSnapshotAndIconsFromTheShell) {
  FixtureProcess process({"app:" + Tag("older")});
  const DWORD platform = tasklist::Win32Platform;
  tasklist::Win32Platform = VER_PLATFORM_WIN32_WINDOWS;
  TWinInfos tasks;
  tasklist::Refresh(tasks);
  tasklist::Win32Platform = platform;

  const int index = IndexOfWindow(tasks, process.Window(Tag("older")));
  ASSERT_GE(index, 0);
  EXPECT_EQ(tasks.Items(index).ExeName, "swivo-fixture.exe");
  EXPECT_TRUE(tasks.Items(index).Icon.MadeByShell());
  for (int i = 0; i < tasks.Count(); ++i) {
    if (tasks.Items(i).Icon) {
      EXPECT_TRUE(tasks.Items(i).Icon.MadeByShell()) << tasks.Items(i).Caption.Ansi();
    }
  }
}

}  // namespace
