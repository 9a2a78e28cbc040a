// The host calling back into the plug-in from a message that arrives while the task menu is open,
// or that waits in the queue when it closes. Freed memory is poisoned in this program, so that any
// use of a destroyed object trips over it.
#include "base/Module.h"
#include "plugin/PlugMain.h"
#include "tests/support/Fixture.h"
#include "tests/support/MenuDriver.h"
#include "ui/WindowClass.h"

#include <gtest/gtest.h>

#include <malloc.h>

#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

void* operator new(std::size_t size) {
  if (void* block = std::malloc(size ? size : 1)) return block;
  throw std::bad_alloc();
}
void operator delete(void* block) noexcept {
  if (!block) return;
  std::memset(block, 0xDD, _msize(block));
  std::free(block);
}
void operator delete(void* block, std::size_t) noexcept { operator delete(block); }

namespace {

using testing_support::PressInMenu;
using testing_support::WhenMenuOpens;

enum class Call { Unload = WM_APP + 1, Init, Execute };

constexpr char kLibraryName[] = "C:\\plugins\\swivo_p.dll";

// The host's window: it calls an entry point when told to.
LRESULT CALLBACK HostProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (static_cast<Call>(msg)) {
    case Call::Unload:
      plugin::Unload();
      return 0;
    case Call::Init:
      plugin::Init(kLibraryName);
      return 0;
    case Call::Execute:
      plugin::Execute(0);
      return 0;
  }
  return ::DefWindowProcA(wnd, msg, wParam, lParam);
}

struct ClassSearch {
  const char* name;
  int count;
};

BOOL CALLBACK CountOfClass(HWND wnd, LPARAM param) {
  auto& search = *reinterpret_cast<ClassSearch*>(param);
  char name[64] = {};
  ::GetClassNameA(wnd, name, sizeof(name));
  search.count += std::strcmp(name, search.name) == 0;
  return TRUE;
}

int ThreadWindowsOfClass(const char* className) {
  ClassSearch search{className, 0};
  ::EnumThreadWindows(::GetCurrentThreadId(), &CountOfClass, reinterpret_cast<LPARAM>(&search));
  return search.count;
}

bool MenuOpen();

int TriggerWindows() { return ThreadWindowsOfClass("TSwivoMainForm"); }
int MenuOwners() { return ThreadWindowsOfClass("SwivoPopupMenuOwner"); }
bool MenuOpen() { return ::FindWindowA("#32768", nullptr) && ::IsWindowVisible(::FindWindowA("#32768", nullptr)); }

void CALLBACK DismissOpenMenu(HWND, UINT, UINT_PTR, DWORD) {
  if (MenuOpen()) PressInMenu(::FindWindowA("#32768", nullptr), VK_ESCAPE);
}

class Reentry : public ::testing::TestWithParam<std::tuple<Call, bool>> {
 protected:
  void SetUp() override {
    ui::RegisterWindowClass("ReentryHost", &HostProc);
    host.reset(::CreateWindowExA(0, "ReentryHost", "reentry host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100,
                                 nullptr, nullptr, base::ThisModule(), nullptr));
    plugin::Init(kLibraryName);
  }
  void TearDown() override {
    plugin::Unload();
    testing_support::Flush();
  }

  // Runs the command; once the menu is open the host is told to make `call`, either at once
  // (delivered by the menu's own loop) or together with Esc (still queued when the menu closes).
  // A menu still or newly open afterwards (an Execute's trigger may open one) is dismissed.
  bool TriggerAndCallBack(Call call, bool whileOpen) {
    bool called = false;
    UINT_PTR dismisser = 0;
    WhenMenuOpens([&](HWND open) {
      called = true;
      if (!whileOpen) PressInMenu(open, VK_ESCAPE);
      ::PostMessageA(host.get(), static_cast<UINT>(call), 0, 0);
      dismisser = ::SetTimer(nullptr, 0, 300, &DismissOpenMenu);
    });
    plugin::Execute(0);
    testing_support::WaitFor([&] { return called; }, 20000);
    testing_support::PumpMessages(1000);  // lets the dismisser's period (300 ms) pass
    if (dismisser) ::KillTimer(nullptr, dismisser);
    return called;
  }

  base::unique_hwnd host;
};

TEST_P(Reentry, NoUseOfADestroyedObjectAndTheStateAfterwardsIsAsDocumented) {
  const auto [call, whileOpen] = GetParam();
  ASSERT_TRUE(TriggerAndCallBack(call, whileOpen));
  EXPECT_FALSE(MenuOpen());
  const int expected = call == Call::Unload ? 0 : 1;
  EXPECT_EQ(TriggerWindows(), expected);
  EXPECT_EQ(MenuOwners(), expected);

  // A whole cycle works afterwards.
  plugin::Init(kLibraryName);
  WhenMenuOpens([](HWND open) { PressInMenu(open, VK_ESCAPE); });
  plugin::Execute(0);
  EXPECT_TRUE(testing_support::WaitFor([] { return testing_support::MenuActionRan(); }, 20000)) << "no menu opened";
  plugin::Unload();
  testing_support::Flush();
  EXPECT_EQ(TriggerWindows(), 0);
  EXPECT_EQ(MenuOwners(), 0);
}

std::string CaseName(const ::testing::TestParamInfo<Reentry::ParamType>& info) {
  const char* names[] = {"Unload", "Init", "Execute"};
  return std::string(names[static_cast<int>(std::get<0>(info.param)) - WM_APP - 1]) +
         (std::get<1>(info.param) ? "WhileOpen" : "QueuedAtClose");
}

INSTANTIATE_TEST_SUITE_P(EntryPoints, Reentry,
                         ::testing::Combine(::testing::Values(Call::Unload, Call::Init, Call::Execute),
                                            ::testing::Bool()),
                         CaseName);

}  // namespace
