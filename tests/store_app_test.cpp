// Store apps: a frame window of one process (the frame host) with the app's inside, a child window
// of another process. Wine has neither app identities nor app images, so the shell's functions,
// which the task list looks up at run time through the program's GetProcAddress, are stand-ins.
#include "tasklist/StoreApps.h"
#include "tasklist/TaskList.h"
#include "tests/support/Fixture.h"
#include "tests/support/ImportPatch.h"
#include "tests/support/TestWindows.h"

#include <gtest/gtest.h>
#include <propsys.h>
#include <shobjidl.h>

#include <cstdio>
#include <cstring>
#include <optional>
#include <string>

using testing_support::FixtureCopy;
using testing_support::FixtureProcess;
using testing_support::IndexOfWindow;
using testing_support::Tag;

namespace {

constexpr wchar_t kAppId[] = L"Swivo.TestApp_1234!App";

// What the stand-ins answer, and what they were asked.
struct Shell {
  HRESULT initialize = S_OK;
  bool hasId = true;
  HRESULT item = S_OK;
  HRESULT image = S_OK;
  int uninitializations = 0;
  int storeRequests = 0;
  SIZE imageSize{};
} shell;

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
    shell.imageSize = size;
    if (FAILED(shell.image)) return shell.image;
    *image = ::CreateBitmap(size.cx, size.cy, 1, 32, nullptr);
    return S_OK;
  }
} fakeImageFactory;

HRESULT WINAPI FakeInitialize(void*, DWORD) { return shell.initialize; }
void WINAPI FakeUninitialize() { ++shell.uninitializations; }
HRESULT WINAPI FakeStoreForWindow(HWND, REFIID, void** store) {
  ++shell.storeRequests;
  *store = static_cast<IPropertyStore*>(&fakeStore);
  return S_OK;
}
HRESULT WINAPI FakeItemInKnownFolder(REFGUID, DWORD, PCWSTR id, REFIID, void** item) {
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
    if (!IS_INTRESOURCE(name) && std::strcmp(name, standIn.name) == 0) return reinterpret_cast<FARPROC>(standIn.function);
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
  }

  void OpenApp() { app_.emplace(std::vector<std::string>{"corechild:" + Hex(Frame()) + ":" + Tag("core")}, FixtureCopy("StoreApp.exe")); }
  HWND Frame() const { return host_.Window(Tag("frame")); }
  const tasklist::TWinInfo& FrameEntry(const tasklist::TWinInfos& tasks) const {
    const tasklist::TWinInfo* entry = tasks.FindByRoot(Frame());
    if (!entry) throw std::runtime_error("the frame is not listed");
    return *entry;
  }

  testing_support::ImportPatch patch_;
  FixtureProcess host_;
  std::optional<FixtureProcess> app_;
};

TEST_F(StoreApp, OpenAppGivesTheTaskItsExecutable) {
  OpenApp();
  tasklist::TWinInfos tasks;
  tasks.SetSortByExe(true);
  tasks.Refresh();
  EXPECT_EQ(FrameEntry(tasks).ExeName, "storeapp.exe");
  EXPECT_GT(IndexOfWindow(tasks, Frame()), IndexOfWindow(tasks, host_.Window(Tag("plain"))));
  EXPECT_EQ(shell.storeRequests, 1) << "only the frame is asked for its identity";
  tasks.SetExclude("applicationframehost.exe");
  tasks.Refresh();
  EXPECT_GE(IndexOfWindow(tasks, Frame()), 0);
  EXPECT_LT(IndexOfWindow(tasks, host_.Window(Tag("plain"))), 0);
}

TEST_F(StoreApp, ClosedAppKeepsTheNameSeenWhileOpen) {
  OpenApp();
  tasklist::TWinInfos tasks;
  tasks.Refresh();
  app_.reset();
  ASSERT_TRUE(testing_support::WaitFor([this] { return tasklist::AppProcessOf(Frame()) == 0; }));
  tasks.Refresh();
  EXPECT_EQ(FrameEntry(tasks).ExeName, "storeapp.exe");
  EXPECT_EQ(FrameEntry(tasks).AppId, kAppId);
  tasklist::TWinInfos unseen;
  unseen.Refresh();
  EXPECT_EQ(FrameEntry(unseen).ExeName, "applicationframehost.exe");
}

struct IconCase {
  const char* what;
  HRESULT initialize;
  bool hasId;
  HRESULT item;
  HRESULT image;
  bool appImage;
  int uninitializations;
};

const IconCase kIconCases[] = {
    {"COM initialised here", S_OK, true, S_OK, S_OK, true, 1},
    {"COM already initialised", S_FALSE, true, S_OK, S_OK, true, 1},
    {"the host chose the other apartment", RPC_E_CHANGED_MODE, true, S_OK, S_OK, true, 0},
    {"COM unusable", E_OUTOFMEMORY, true, S_OK, S_OK, false, 0},
    {"no identity", S_OK, false, S_OK, S_OK, false, 1},
    {"no item", S_OK, true, HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND), S_OK, false, 1},
    {"no image", S_OK, true, S_OK, E_FAIL, false, 1},
};

TEST_F(StoreApp, IconFromTheAppsIdentityOrAsBefore) {
  for (const IconCase& c : kIconCases) {
    shell = Shell{c.initialize, c.hasId, c.item, c.image};
    tasklist::TWinInfos tasks;
    tasks.Refresh();
    const tasklist::IconSource source = FrameEntry(tasks).Icon.Source();
    if (c.appImage) {
      EXPECT_EQ(source, tasklist::IconSource::kAppIdentity) << c.what;
      EXPECT_EQ(shell.imageSize.cx, tasklist::kSmallIconSize) << c.what;
      EXPECT_EQ(shell.imageSize.cy, tasklist::kSmallIconSize) << c.what;
    } else {
      EXPECT_TRUE(source == tasklist::IconSource::kExecutable || source == tasklist::IconSource::kFileType) << c.what;
    }
    EXPECT_EQ(shell.uninitializations, c.uninitializations) << c.what;
  }
}

}  // namespace
