// Within one refresh, lookups that cannot change are made once: each window's owner, styles,
// class and cloaking, the executable path per process, the shell icon per path, and the menu's
// image per icon. Nothing but the executables' paths (while their process runs), own icons
// (window_icon_test), their types' icons and the menu's images is kept across refreshes, and a
// shared shell icon is destroyed exactly once. Counted through this program's import table.
#include "base/Handle.h"
#include "taskmenu/TaskMenu.h"
#include "tests/support/CloakStandIn.h"
#include "tests/support/Fixture.h"
#include "tests/support/ImportPatch.h"
#include "tests/support/MenuDriver.h"
#include "tests/support/TestWindows.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <shellapi.h>
#include <string>
#include <utility>

using testing_support::FixtureProcess;
using testing_support::ImportPatch;

namespace {

constexpr int kWindows = 6;

using testing_support::Tag;

std::map<DWORD, int> opensByProcess;
std::map<DWORD, int> moduleWalksByProcess;  // opens that may read the process's memory
std::map<HICON, int> makesByIcon;
std::map<HICON, int> destroysByIcon;
std::map<std::pair<HWND, int>, int> longReads;  // by window and offset
std::map<HWND, int> ownerReads;
std::map<HWND, int> classReads;
decltype(&::OpenProcess) realOpenProcess;
decltype(&::SHGetFileInfoA) realSHGetFileInfoA;
decltype(&::DestroyIcon) realDestroyIcon;
decltype(&::GetWindowLongA) realGetWindowLongA;
decltype(&::GetWindow) realGetWindow;
decltype(&::GetClassNameA) realGetClassNameA;

HANDLE WINAPI CountOpenProcess(DWORD access, BOOL inherit, DWORD processId) {
  ++opensByProcess[processId];
  if (access & PROCESS_VM_READ) ++moduleWalksByProcess[processId];
  return realOpenProcess(access, inherit, processId);
}
// As if every process had started a moment after its real start: a new process under an old id.
decltype(&::GetProcessTimes) realGetProcessTimes;
BOOL WINAPI LaterStart(HANDLE process, FILETIME* created, FILETIME* exited, FILETIME* kernel, FILETIME* user) {
  const BOOL read = realGetProcessTimes(process, created, exited, kernel, user);
  ++created->dwLowDateTime;
  return read;
}
DWORD_PTR WINAPI CountSHGetFileInfoA(LPCSTR path, DWORD attributes, SHFILEINFOA* info, UINT size, UINT flags) {
  const DWORD_PTR result = realSHGetFileInfoA(path, attributes, info, size, flags);
  if (result && (flags & SHGFI_ICON)) ++makesByIcon[info->hIcon];
  return result;
}
BOOL WINAPI CountDestroyIcon(HICON icon) {
  ++destroysByIcon[icon];
  return realDestroyIcon(icon);
}

LONG WINAPI CountGetWindowLongA(HWND wnd, int offset) {
  ++longReads[{wnd, offset}];
  return realGetWindowLongA(wnd, offset);
}
HWND WINAPI CountGetWindow(HWND wnd, UINT relation) {
  if (relation == GW_OWNER) ++ownerReads[wnd];
  return realGetWindow(wnd, relation);
}
int WINAPI CountGetClassNameA(HWND wnd, LPSTR name, int size) {
  ++classReads[wnd];
  return realGetClassNameA(wnd, name, size);
}

class LookupReuse : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    fixture = std::make_unique<FixtureProcess>(std::vector<std::string>{
        "manynoicon:" + std::to_string(kWindows) + ":" + Tag("window"), "tool:" + Tag("tool")});
  }
  static void TearDownTestSuite() { fixture.reset(); }

  void SetUp() override {
    opensByProcess.clear();
    moduleWalksByProcess.clear();
    makesByIcon.clear();
    destroysByIcon.clear();
    longReads.clear();
    ownerReads.clear();
    classReads.clear();
    realOpenProcess = reinterpret_cast<decltype(realOpenProcess)>(openPatch.Original());
    realSHGetFileInfoA = reinterpret_cast<decltype(realSHGetFileInfoA)>(iconPatch.Original());
    realDestroyIcon = reinterpret_cast<decltype(realDestroyIcon)>(destroyPatch.Original());
    realGetWindowLongA = reinterpret_cast<decltype(realGetWindowLongA)>(longPatch.Original());
    realGetWindow = reinterpret_cast<decltype(realGetWindow)>(ownerPatch.Original());
    realGetClassNameA = reinterpret_cast<decltype(realGetClassNameA)>(classPatch.Original());
    ASSERT_TRUE(realOpenProcess && realSHGetFileInfoA && realDestroyIcon && realGetWindowLongA && realGetWindow &&
                realGetClassNameA);
  }

  // The fixture's windows among the menu's tasks, by position.
  std::vector<int> FixtureTasks() const {
    std::vector<int> positions;
    for (int i = 0; i < menu.Tasks().Count(); ++i) {
      if (menu.Tasks().Items(i).Caption.Ansi().rfind(Tag("window"), 0) == 0) positions.push_back(i);
    }
    return positions;
  }

  static std::unique_ptr<FixtureProcess> fixture;
  ImportPatch openPatch{::GetModuleHandleA(nullptr), "kernel32.dll", "OpenProcess",
                        reinterpret_cast<void*>(&CountOpenProcess)};
  ImportPatch iconPatch{::GetModuleHandleA(nullptr), "shell32.dll", "SHGetFileInfoA",
                        reinterpret_cast<void*>(&CountSHGetFileInfoA)};
  ImportPatch destroyPatch{::GetModuleHandleA(nullptr), "user32.dll", "DestroyIcon",
                           reinterpret_cast<void*>(&CountDestroyIcon)};
  ImportPatch longPatch{::GetModuleHandleA(nullptr), "user32.dll", "GetWindowLongA",
                        reinterpret_cast<void*>(&CountGetWindowLongA)};
  ImportPatch ownerPatch{::GetModuleHandleA(nullptr), "user32.dll", "GetWindow",
                         reinterpret_cast<void*>(&CountGetWindow)};
  ImportPatch classPatch{::GetModuleHandleA(nullptr), "user32.dll", "GetClassNameA",
                         reinterpret_cast<void*>(&CountGetClassNameA)};
  testing_support::CloakStandIn cloaking;
  taskmenu::TTaskPopupMenu menu;
};

std::unique_ptr<FixtureProcess> LookupReuse::fixture;

void PopupAndDismiss(taskmenu::TTaskPopupMenu& menu) {
  testing_support::WhenMenuOpens([](HWND open) { testing_support::PressInMenu(open, VK_ESCAPE); });
  menu.PopupTasks(10, 10);
  ASSERT_TRUE(testing_support::MenuActionRan());
}

// Each refresh opens the process once to check its start time; its modules are walked at the first
// refresh, and again only when its id names a process started at another time.
TEST_F(LookupReuse, AProcessPathIsReadOnceWhileItRunsAndAnewForAnotherProcessUnderItsId) {
  const auto refresh = [&](bool walks) {
    opensByProcess.clear();
    moduleWalksByProcess.clear();
    PopupAndDismiss(menu);
    ASSERT_EQ(static_cast<int>(FixtureTasks().size()), kWindows);
    EXPECT_EQ(moduleWalksByProcess[fixture->Id()], walks ? 1 : 0);
    EXPECT_EQ(opensByProcess[fixture->Id()], walks ? 2 : 1);
    for (const int position : FixtureTasks()) EXPECT_EQ(menu.Tasks().Items(position).ExeName, "swivo-fixture.exe");
  };
  refresh(true);
  refresh(false);
  ImportPatch restarted(::GetModuleHandleA(nullptr), "kernel32.dll", "GetProcessTimes",
                        reinterpret_cast<void*>(&LaterStart));
  realGetProcessTimes = reinterpret_cast<decltype(realGetProcessTimes)>(restarted.Original());
  ASSERT_TRUE(realGetProcessTimes);
  refresh(true);
}

TEST_F(LookupReuse, EachWindowsOwnerStylesClassAndCloakingAreReadOncePerRefreshAndAgainAtTheNext) {
  const HWND tool = fixture->Window(Tag("tool"));
  ASSERT_TRUE(tool);
  for (int refresh = 1; refresh <= 2; ++refresh) {
    PopupAndDismiss(menu);
    ASSERT_EQ(static_cast<int>(FixtureTasks().size()), kWindows);
    EXPECT_EQ(cloaking.Lookups(), refresh);
    for (const int position : FixtureTasks()) {
      const HWND wnd = menu.Tasks().Items(position).Wnd;
      EXPECT_EQ(ownerReads[wnd], refresh);
      EXPECT_EQ((longReads[{wnd, GWL_STYLE}]), refresh);
      EXPECT_EQ((longReads[{wnd, GWL_EXSTYLE}]), refresh);
      EXPECT_EQ(classReads[wnd], refresh);
      EXPECT_EQ(cloaking.Queries(wnd), refresh);
    }
    // A window that the classic rule already leaves out is not asked.
    EXPECT_EQ(classReads[tool], 0);
    EXPECT_EQ(cloaking.Queries(tool), 0);
  }
}

TEST_F(LookupReuse, AChangeBetweenRefreshesIsSeenAtTheNext) {
  base::unique_hwnd window(::CreateWindowExA(0, "STATIC", Tag("changing").c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0,
                                             0, 100, 100, nullptr, nullptr, nullptr, nullptr));
  const auto listed = [&] {
    PopupAndDismiss(menu);
    for (int i = 0; i < menu.Tasks().Count(); ++i) {
      if (menu.Tasks().Items(i).Wnd == window.get()) return true;
    }
    return false;
  };
  EXPECT_TRUE(listed());
  ::SetWindowLongA(window.get(), GWL_EXSTYLE, ::GetWindowLongA(window.get(), GWL_EXSTYLE) | WS_EX_TOOLWINDOW);
  EXPECT_FALSE(listed());
  ::SetWindowLongA(window.get(), GWL_EXSTYLE, ::GetWindowLongA(window.get(), GWL_EXSTYLE) & ~WS_EX_TOOLWINDOW);
  EXPECT_TRUE(listed());
  ::EnableWindow(window.get(), FALSE);
  EXPECT_FALSE(listed());
}

TEST_F(LookupReuse, TasksOfOneExecutableShareOneShellIconAndOneImage) {
  PopupAndDismiss(menu);
  const std::vector<int> positions = FixtureTasks();
  ASSERT_EQ(static_cast<int>(positions.size()), kWindows);
  const int image = menu.Items(positions.front()).ImageIndex;
  EXPECT_GE(image, 0);
  EXPECT_LT(image, ::ImageList_GetImageCount(menu.Images()));
  for (const int position : positions) EXPECT_EQ(menu.Items(position).ImageIndex, image);
  EXPECT_LE(::ImageList_GetImageCount(menu.Images()), menu.ItemCount() - kWindows + 1);
}

TEST_F(LookupReuse, EachShellIconIsMadeOnceAndDestroyedWithTheMenu) {
  {
    taskmenu::TTaskPopupMenu ownMenu;
    PopupAndDismiss(ownMenu);
    PopupAndDismiss(ownMenu);
    ASSERT_FALSE(makesByIcon.empty());
    for (const auto& [icon, makes] : makesByIcon) EXPECT_EQ(makes, 1) << icon;
    EXPECT_TRUE(destroysByIcon.empty());
  }
  EXPECT_EQ(destroysByIcon, makesByIcon);
}

}  // namespace
