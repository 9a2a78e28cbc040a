// Store apps: a frame window of one process (the frame host) with the app's inside, a child window
// of another process. Wine has neither app identities nor app images, so the shell's functions,
// which the task list looks up at run time through the program's GetProcAddress, are stand-ins;
// they are called on the plug-in's own thread, and note which thread made itself an apartment.
#include "tasklist/StoreApps.h"
#include "tasklist/TaskRefresh.h"
#include "taskmenu/TaskMenu.h"
#include "tests/support/Fixture.h"
#include "tests/support/ImportPatch.h"
#include "tests/support/MenuDriver.h"
#include "tests/support/TestWindows.h"

#include <gtest/gtest.h>
#include <propsys.h>
#include <shobjidl.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <functional>
#include <optional>
#include <string>

using testing_support::FixtureCopy;
using testing_support::FixtureProcess;
using testing_support::IndexOfWindow;
using testing_support::Tag;

namespace {

constexpr wchar_t kAppId[] = L"Swivo.TestApp_1234!App";

constexpr UINT kLateMessage = WM_APP + 1;

// What the stand-ins answer.
struct Shell {
  HRESULT initialize = S_OK;
  bool hasId = true;
  HRESULT item = S_OK;
  HRESULT image = S_OK;
  DWORD imageMs = 0;  // how long the image takes to make
} shell;

// What they were asked, from whichever thread.
struct Asked {
  DWORD testThread = 0;
  std::atomic<int> hostInitializations{0};
  std::atomic<int> uninitializations{0};
  std::atomic<int> storeRequests{0};
  std::atomic<int> items{0};
  std::atomic<int> imageSize{0};
  std::atomic<DWORD> imageThread{0};

  void Reset() {
    testThread = ::GetCurrentThreadId();
    for (std::atomic<int>* count : {&hostInitializations, &uninitializations, &storeRequests, &items, &imageSize}) {
      *count = 0;
    }
    imageThread = 0;
  }
} asked;

// Objects of static life: their references are not counted.
class FakeStore : public IPropertyStore {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
  ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE GetCount(DWORD*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetAt(DWORD, PROPERTYKEY*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetValue(REFPROPERTYKEY, REFPROPVARIANT) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Commit() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetValue(REFPROPERTYKEY, PROPVARIANT* value) override {
    PropVariantInit(value);
    if (!shell.hasId) return S_OK;  // as Wine's empty store answers
    value->vt = VT_LPWSTR;
    value->pwszVal = static_cast<wchar_t*>(::CoTaskMemAlloc(sizeof(kAppId)));
    std::memcpy(value->pwszVal, kAppId, sizeof(kAppId));
    return S_OK;
  }
} fakeStore;

class FakeImageFactory : public IShellItemImageFactory {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
  ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE GetImage(SIZE size, SIIGBF, HBITMAP* image) override {
    asked.imageSize = size.cx;
    asked.imageThread = ::GetCurrentThreadId();
    ::Sleep(shell.imageMs);
    if (FAILED(shell.image)) return shell.image;
    *image = ::CreateBitmap(size.cx, size.cy, 1, 32, nullptr);
    return S_OK;
  }
} fakeImageFactory;

HRESULT WINAPI FakeInitialize(void*, DWORD) {
  if (::GetCurrentThreadId() == asked.testThread) ++asked.hostInitializations;
  return shell.initialize;
}
void WINAPI FakeUninitialize() { ++asked.uninitializations; }
HRESULT WINAPI FakeStoreForWindow(HWND, REFIID, void** store) {
  ++asked.storeRequests;
  *store = static_cast<IPropertyStore*>(&fakeStore);
  return S_OK;
}
HRESULT WINAPI FakeItemInKnownFolder(REFGUID, DWORD, PCWSTR id, REFIID, void** item) {
  ++asked.items;
  if (FAILED(shell.item) || std::wcscmp(id, kAppId) != 0) return shell.item;
  *item = static_cast<IShellItemImageFactory*>(&fakeImageFactory);
  return S_OK;
}

decltype(&::GetProcAddress) realGetProcAddress;

FARPROC WINAPI StandInGetProcAddress(HMODULE module, LPCSTR name) {
  const struct {
    const char* name;
    void* function;
  } kStandIns[] = {{"CoInitializeEx", reinterpret_cast<void*>(&FakeInitialize)},
                   {"CoUninitialize", reinterpret_cast<void*>(&FakeUninitialize)},
                   {"SHGetPropertyStoreForWindow", reinterpret_cast<void*>(&FakeStoreForWindow)},
                   {"SHCreateItemInKnownFolder", reinterpret_cast<void*>(&FakeItemInKnownFolder)}};
  for (const auto& standIn : kStandIns) {
    if (!IS_INTRESOURCE(name) && std::strcmp(name, standIn.name) == 0)
      return reinterpret_cast<FARPROC>(standIn.function);
  }
  return realGetProcAddress(module, name);
}

std::string Hex(HWND wnd) {
  char text[32];
  std::snprintf(text, sizeof(text), "%llx", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(wnd)));
  return text;
}

// A frame host with a plain window and a frame, opened in that order so that the frame comes first
// among windows of one executable; the app's process is opened by the test.
class StoreApp : public ::testing::Test {
 protected:
  StoreApp()
      : patch_(::GetModuleHandleA(nullptr), "kernel32.dll", "GetProcAddress",
               reinterpret_cast<void*>(&StandInGetProcAddress)),
        host_({"app:" + Tag("plain"), "ofclass:ApplicationFrameWindow:" + Tag("frame")},
              FixtureCopy("ApplicationFrameHost.exe")) {
    realGetProcAddress = reinterpret_cast<decltype(realGetProcAddress)>(patch_.Original());
    shell = Shell();
    asked.Reset();
  }

  // Asks for the icons the last refresh could not give; the answers come to a window of this thread.
  std::unique_ptr<tasklist::LateAnswers> AskLate(tasklist::TWinInfos& tasks, LPARAM serial,
                                                 int iconSize = tasklist::kSmallIconSize) {
    auto answers = std::make_unique<tasklist::LateAnswers>(notify_.get(), kLateMessage, serial);
    tasks.AskLateIcons(*answers, iconSize);
    return answers;
  }
  ::testing::AssertionResult ImageArrives(const tasklist::TWinInfos& tasks, const tasklist::LateAnswers& answers) {
    const auto frame = static_cast<size_t>(IndexOfWindow(tasks, Frame()));
    if (testing_support::WaitFor(
            [&] { return answers.Answer(frame).Source() == tasklist::IconSource::kAppIdentity; })) {
      return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "icon source " << static_cast<int>(answers.Answer(frame).Source());
  }

  void OpenApp() {
    app_.emplace(std::vector<std::string>{"corechild:" + Hex(Frame()) + ":" + Tag("core")},
                 FixtureCopy("StoreApp.exe"));
  }
  HWND Frame() const { return host_.Window(Tag("frame")); }
  const tasklist::TWinInfo& FrameEntry(const tasklist::TWinInfos& tasks) const {
    const tasklist::TWinInfo* entry = tasks.FindByRoot(Frame());
    if (!entry) throw std::runtime_error("the frame is not listed");
    return *entry;
  }

  testing_support::ImportPatch patch_;
  base::unique_hwnd notify_{::CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr)};
  FixtureProcess host_;
  std::optional<FixtureProcess> app_;
};

TEST_F(StoreApp, OpenAppGivesTheTaskItsExecutable) {
  OpenApp();
  tasklist::TWinInfos tasks;
  tasks.SetSortByExe(true);
  tasklist::Refresh(tasks);
  EXPECT_EQ(FrameEntry(tasks).ExeName, "storeapp.exe");
  EXPECT_GT(IndexOfWindow(tasks, Frame()), IndexOfWindow(tasks, host_.Window(Tag("plain"))));
  EXPECT_EQ(asked.storeRequests, 1) << "only the frame is asked for its identity";
  tasks.SetExclude("applicationframehost.exe");
  tasklist::Refresh(tasks);
  EXPECT_GE(IndexOfWindow(tasks, Frame()), 0);
  EXPECT_LT(IndexOfWindow(tasks, host_.Window(Tag("plain"))), 0);
}

TEST_F(StoreApp, ClosedAppKeepsTheNameSeenWhileOpen) {
  OpenApp();
  tasklist::TWinInfos tasks;
  tasklist::Refresh(tasks);
  app_.reset();
  ASSERT_TRUE(testing_support::WaitFor([this] { return tasklist::AppProcessOf(Frame()) == 0; }))
      << "app process " << tasklist::AppProcessOf(Frame());
  tasklist::Refresh(tasks);
  EXPECT_EQ(FrameEntry(tasks).ExeName, "storeapp.exe");
  EXPECT_EQ(FrameEntry(tasks).AppId, kAppId);
  tasklist::TWinInfos unseen;
  tasklist::Refresh(unseen);
  EXPECT_EQ(FrameEntry(unseen).ExeName, "applicationframehost.exe");
}

struct IconCase {
  const char* what;
  HRESULT initialize;
  bool hasId;
  HRESULT item;
  HRESULT image;
  bool asked;     // the shell's thread is asked for the app's image
  bool appImage;  // and makes it
  int uninitializations;
};

const IconCase kIconCases[] = {
    {"COM initialised here", S_OK, true, S_OK, S_OK, true, true, 1},
    {"COM already initialised", S_FALSE, true, S_OK, S_OK, true, true, 1},
    {"the thread is of the other apartment kind", RPC_E_CHANGED_MODE, true, S_OK, S_OK, true, true, 0},
    {"COM unusable", E_OUTOFMEMORY, true, S_OK, S_OK, false, false, 0},
    {"no identity", S_OK, false, S_OK, S_OK, false, false, 1},
    {"no item", S_OK, true, HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND), S_OK, true, false, 1},
    {"no image", S_OK, true, S_OK, E_FAIL, true, false, 1},
};

// The refresh shows the frame's icon as before; the app's image comes from the plug-in's thread and
// is kept for the next popup, while one that failed is asked for again there.
TEST_F(StoreApp, AppImageComesLateAndIsKeptOrAskedAgain) {
  for (const IconCase& c : kIconCases) {
    shell = Shell{c.initialize, c.hasId, c.item, c.image};
    asked.Reset();
    {
      tasklist::TWinInfos tasks;
      for (int popup = 1; popup <= 2; ++popup) {
        tasklist::Refresh(tasks);
        const bool kept = c.appImage && popup == 2;
        const tasklist::TWinInfo& frame = FrameEntry(tasks);
        EXPECT_EQ(frame.Icon.Source() == tasklist::IconSource::kAppIdentity, kept) << c.what << ", popup " << popup;
        EXPECT_EQ(frame.AppImageLate, c.asked && !kept) << c.what << ", popup " << popup;
        const auto answers = AskLate(tasks, popup);
        if (!frame.AppImageLate) continue;
        EXPECT_TRUE(testing_support::WaitFor([&] { return asked.items == popup; })) << c.what << ", popup " << popup;
        if (c.appImage) {
          EXPECT_TRUE(ImageArrives(tasks, *answers)) << c.what;
        }
      }
    }
    EXPECT_TRUE(testing_support::WaitFor([&] { return asked.uninitializations == c.uninitializations; })) << c.what;
  }
  EXPECT_EQ(asked.hostInitializations, 0) << "the host's thread was made a COM apartment";
}

TEST_F(StoreApp, AnImageIsAskedForAgainInAnotherSize) {
  tasklist::TWinInfos tasks;
  for (const int size : {tasklist::kSmallIconSize, 2 * tasklist::kSmallIconSize}) {
    tasklist::Refresh(tasks, size);
    EXPECT_TRUE(FrameEntry(tasks).AppImageLate) << size;
    EXPECT_TRUE(ImageArrives(tasks, *AskLate(tasks, size, size))) << size;
    EXPECT_EQ(asked.imageSize, size);
  }
}

// The menu opens with the frame's icon and draws the app's image once it came; a later popup
// shows the kept image at once.
TEST_F(StoreApp, MenuDrawsTheAppsImageWhenItArrives) {
  shell.imageMs = 300;
  taskmenu::TTaskPopupMenu menu;
  const auto frameImage = [&] { return menu.Items(IndexOfWindow(menu.Tasks(), Frame())).ImageIndex; };
  int atOpen = -2;
  int drawn = -2;
  DWORD openedAt = 0;
  std::function<void(HWND)> look = [&](HWND open) {
    if (!openedAt) {
      openedAt = ::GetTickCount();
      atOpen = frameImage();
    }
    drawn = frameImage();
    if (drawn != atOpen || ::GetTickCount() - openedAt > 2000) return testing_support::PressInMenu(open, VK_ESCAPE);
    testing_support::WhenMenuOpens(look);
  };
  testing_support::WhenMenuOpens(look);
  menu.PopupTasks(10, 10);
  EXPECT_NE(drawn, atOpen) << "the app's image was not drawn";
  EXPECT_NE(asked.imageThread, ::GetCurrentThreadId());
  testing_support::WhenMenuOpens([](HWND open) { testing_support::PressInMenu(open, VK_ESCAPE); });
  menu.PopupTasks(10, 10);
  EXPECT_EQ(frameImage(), drawn);
  EXPECT_EQ(asked.items, 1);
}

}  // namespace
