// The real DLL in a host that does everything a host may do to it: unload and free it from a
// message that arrives under the plug-in's own frames, starve it of GDI and USER objects, close
// its windows, trigger it twice, keep its dispatching busy. The fault watch (TestMain) fails any
// test in which the plug-in touched freed code or memory.
#include "base/Module.h"
#include "tests/support/FaultWatch.h"
#include "tests/support/Fixture.h"
#include "tests/support/ImportPatch.h"
#include "tests/support/MenuDriver.h"
#include "tests/support/PluginLibrary.h"
#include "tests/support/SlowIconWindow.h"
#include "ui/WindowClass.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

namespace {

using testing_support::OpenMenuWindow;
using testing_support::PluginLibrary;
using testing_support::PressInMenu;
using testing_support::PumpMessages;
using testing_support::WaitFor;
using testing_support::WhenMenuOpens;

constexpr BOOL kTrue = -1;
constexpr UINT kUnloadAndFree = WM_APP + 10;
constexpr UINT_PTR kBusyTimer = 1;
constexpr UINT kBusyPeriodMs = 10;
constexpr DWORD kBusyHandlerMs = 30;  // outlasts the period: the timer is always due
constexpr DWORD kBusyForMs = 8000;
constexpr UINT kSafetyDismissMs = 3000;
constexpr DWORD kMenuTimeoutMs = 20000;

constexpr char kTriggerClass[] = "TSwivoMainForm";
constexpr char kOwnerClass[] = "SwivoPopupMenuOwner";

// The host's state: one host per test.
std::unique_ptr<PluginLibrary> library;
HWND host = nullptr;
DWORD busyUntil = 0;
bool safetyDismissed = false;

LRESULT CALLBACK HostProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == kUnloadAndFree && library->Loaded()) {
    library->unload();
    library->Free();
    return 0;
  }
  if (msg == WM_TIMER && wParam == kBusyTimer) {
    ::Sleep(kBusyHandlerMs);
    if (::GetTickCount() > busyUntil) ::KillTimer(wnd, kBusyTimer);
    return 0;
  }
  return ::DefWindowProcA(wnd, msg, wParam, lParam);
}

// A host's hook that reloads its plug-ins when a menu starts up: the unload arrives as a sent
// message while the task menu is being opened, before it tracks.
LRESULT CALLBACK UnloadOnMenuStart(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION && reinterpret_cast<const CWPSTRUCT*>(lParam)->message == WM_INITMENUPOPUP) {
    ::SendMessageA(host, kUnloadAndFree, 0, 0);
  }
  return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

// Closes a menu that nobody else closed, so that a failing test ends.
void CALLBACK SafetyDismiss(HWND, UINT, UINT_PTR timer, DWORD) {
  ::KillTimer(nullptr, timer);
  if (const HWND open = OpenMenuWindow()) {
    safetyDismissed = true;
    PressInMenu(open, VK_ESCAPE);
  }
}

bool AnyWindowOfOurs() { return ::FindWindowA(kTriggerClass, nullptr) || ::FindWindowA(kOwnerClass, nullptr); }

class HostileHost : public ::testing::Test {
 protected:
  void SetUp() override {
    library = std::make_unique<PluginLibrary>();
    ASSERT_TRUE(library->Loaded()) << library->path;
    ui::RegisterWindowClass("HostileHost", &HostProc);
    // Visible, so that the menu has an item and stays open.
    hostWindow.reset(::CreateWindowExA(0, "HostileHost", "hostile host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200,
                                       100, nullptr, nullptr, base::ThisModule(), nullptr));
    host = hostWindow.get();
    safetyDismissed = false;
    safetyTimer = ::SetTimer(nullptr, 0, kSafetyDismissMs, &SafetyDismiss);
  }
  void TearDown() override {
    ::KillTimer(nullptr, safetyTimer);
    if (library->Loaded()) library->unload();
    testing_support::Flush();
    library.reset();
    EXPECT_FALSE(AnyWindowOfOurs());
  }

  // Runs the command and dismisses the menu; fails when no menu opened or it stayed open.
  ::testing::AssertionResult MenuComesAndGoes() {
    WhenMenuOpens([](HWND open) { PressInMenu(open, VK_ESCAPE); });
    library->execute(0, host);
    if (!WaitFor([] { return testing_support::MenuActionRan(); }, kMenuTimeoutMs)) {
      return ::testing::AssertionFailure() << "no menu opened";
    }
    if (!WaitFor([] { return !OpenMenuWindow(); })) return ::testing::AssertionFailure() << "the menu stayed open";
    return ::testing::AssertionSuccess();
  }

  base::unique_hwnd hostWindow;
  UINT_PTR safetyTimer = 0;
};

enum class Moment { WhileBuilding, WhileOpen, QueuedAtClose, WhileActionsOpen };

class UnloadUnderOurFrames : public HostileHost, public ::testing::WithParamInterface<Moment> {};

// A window too slow for the refresh is asked again while the menu is open: that ask is still
// waiting when the plug-in goes.
TEST_P(UnloadUnderOurFrames, TheHostGoesOnAndCanLoadThePlugInAgain) {
  const testing_support::SlowIconWindow slow(::LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_WARNING)), 400);
  ASSERT_EQ(library->init(library->path.c_str(), 0), kTrue);
  HHOOK hook = nullptr;
  if (GetParam() == Moment::WhileBuilding) {
    hook = ::SetWindowsHookExA(WH_CALLWNDPROC, &UnloadOnMenuStart, nullptr, ::GetCurrentThreadId());
    ASSERT_TRUE(hook);
  } else if (GetParam() == Moment::WhileActionsOpen) {
    WhenMenuOpens([](HWND open) {
      PressInMenu(open, VK_DOWN);  // an entry highlighted
      PressInMenu(open, VK_APPS);
      testing_support::WhenNextMenuOpens(open, [](HWND) { ::PostMessageA(host, kUnloadAndFree, 0, 0); });
    });
  } else {
    const bool whileOpen = GetParam() == Moment::WhileOpen;
    WhenMenuOpens([whileOpen](HWND open) {
      if (!whileOpen) PressInMenu(open, VK_ESCAPE);
      ::PostMessageA(host, kUnloadAndFree, 0, 0);
    });
  }
  library->execute(0, host);
  EXPECT_TRUE(WaitFor([] { return !library->Loaded(); }, kMenuTimeoutMs))
      << "still loaded, open menu window " << OpenMenuWindow();
  if (hook) ::UnhookWindowsHookEx(hook);
  PumpMessages(500);  // the host's loop goes on while the slow window's answer (400 ms) comes in
  EXPECT_FALSE(safetyDismissed) << "the menu stayed open after the unload";
  EXPECT_FALSE(OpenMenuWindow());
  EXPECT_FALSE(AnyWindowOfOurs());

  library = std::make_unique<PluginLibrary>();
  ASSERT_TRUE(library->Loaded());
  ASSERT_EQ(library->init(library->path.c_str(), 0), kTrue);
  EXPECT_TRUE(MenuComesAndGoes());
}

std::string MomentName(const ::testing::TestParamInfo<Moment>& info) {
  const char* names[] = {"WhileBuilding", "WhileOpen", "QueuedAtClose", "WhileActionsOpen"};
  return names[static_cast<int>(info.param)];
}

INSTANTIATE_TEST_SUITE_P(Moments, UnloadUnderOurFrames,
                         ::testing::Values(Moment::WhileBuilding, Moment::WhileOpen, Moment::QueuedAtClose,
                                           Moment::WhileActionsOpen),
                         MomentName);

// Out of GDI or USER objects while Init builds the menu's owner window, or when the menu opens.
HDC WINAPI NoContext(HDC) { return nullptr; }
HWND WINAPI NoMenuOwner(DWORD exStyle, LPCSTR className, LPCSTR caption, DWORD style, int x, int y, int width,
                        int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param) {
  if (HIWORD(className) && std::strcmp(className, kOwnerClass) == 0) return nullptr;
  return ::CreateWindowExA(exStyle, className, caption, style, x, y, width, height, parent, menu, instance, param);
}

struct Starvation {
  const char* dll;
  const char* function;
  void* replacement;
};

class StarvedInit : public HostileHost, public ::testing::WithParamInterface<Starvation> {};

TEST_P(StarvedInit, InitReturnsTrueAndExecuteBuildsWhatIsMissing) {
  {
    testing_support::ImportPatch patch(library->Module(), GetParam().dll, GetParam().function, GetParam().replacement);
    ASSERT_TRUE(patch.Original());
    EXPECT_EQ(library->init(library->path.c_str(), 0), kTrue);
    testing_support::Flush();
    EXPECT_FALSE(AnyWindowOfOurs()) << "a half-built window was left";
  }
  EXPECT_TRUE(MenuComesAndGoes());
  library->unload();
  testing_support::Flush();
  EXPECT_FALSE(AnyWindowOfOurs());
  ASSERT_EQ(library->init(library->path.c_str(), 0), kTrue);
  EXPECT_TRUE(MenuComesAndGoes());
}

const Starvation kNoMenuOwner{"user32.dll", "CreateWindowExA", reinterpret_cast<void*>(&NoMenuOwner)};

std::string StarvationName(const ::testing::TestParamInfo<Starvation>& info) { return info.param.function; }

INSTANTIATE_TEST_SUITE_P(Resources, StarvedInit, ::testing::Values(kNoMenuOwner), StarvationName);

// The context that measures the items is made for each opening: without it the error box says
// so, and the next command shows the menu.
TEST_F(HostileHost, NoContextToMeasureInIsShownAndTheNextCommandWorks) {
  ASSERT_EQ(library->init(library->path.c_str(), 0), kTrue);
  std::string shown;
  {
    testing_support::ImportPatch patch(library->Module(), "gdi32.dll", "CreateCompatibleDC",
                                       reinterpret_cast<void*>(&NoContext));
    ASSERT_TRUE(patch.Original());
    testing_support::WhenMessageBoxOpens(nullptr, [&](HWND box) {
      shown = testing_support::MessageBoxText(box);
      ::PostMessageA(box, WM_COMMAND, IDOK, 0);
    });
    library->execute(0, host);
    ASSERT_TRUE(WaitFor([] { return testing_support::MenuActionRan(); }, kMenuTimeoutMs)) << "no menu opened";
  }
  EXPECT_NE(shown.find("device context"), std::string::npos) << shown;
  EXPECT_TRUE(MenuComesAndGoes());
}

TEST_F(HostileHost, NeitherWindowClosesFromOutsideAndExecuteRebuildsDestroyedOnes) {
  ASSERT_EQ(library->init(library->path.c_str(), 0), kTrue);
  const HWND windows[] = {::FindWindowA(kTriggerClass, nullptr), ::FindWindowA(kOwnerClass, nullptr)};
  for (HWND wnd : windows) {
    ASSERT_TRUE(wnd);
    ::SendMessageA(wnd, WM_CLOSE, 0, 0);
    ::SendMessageA(wnd, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(::IsWindow(wnd));
  }
  EXPECT_TRUE(MenuComesAndGoes());
  for (HWND wnd : windows) ::DestroyWindow(wnd);
  EXPECT_TRUE(MenuComesAndGoes()) << "Execute did not make the destroyed windows anew";
}

TEST_F(HostileHost, ASecondTriggerLeavesTheOpenMenuToTheUsersKey) {
  ASSERT_EQ(library->init(library->path.c_str(), 0), kTrue);
  WhenMenuOpens([](HWND open) {
    library->execute(0, host);
    PressInMenu(open, VK_ESCAPE);
  });
  library->execute(0, host);
  ASSERT_TRUE(WaitFor([] { return testing_support::MenuActionRan(); }, kMenuTimeoutMs)) << "no menu opened";
  testing_support::Flush();
  EXPECT_FALSE(safetyDismissed) << "the key typed after the second trigger did not reach the menu";
}

TEST_F(HostileHost, ABusyHostTimerDoesNotHoldTheTriggerHandler) {
  ASSERT_EQ(library->init(library->path.c_str(), 0), kTrue);
  const HWND trigger = ::FindWindowA(kTriggerClass, nullptr);
  busyUntil = ::GetTickCount() + kBusyForMs;
  ::SetTimer(host, kBusyTimer, kBusyPeriodMs, nullptr);
  DWORD closedAt = 0;
  WhenMenuOpens([&](HWND open) {
    closedAt = ::GetTickCount();
    PressInMenu(open, VK_ESCAPE);
  });
  library->execute(0, host);
  DWORD handledAt = 0;
  const DWORD deadline = ::GetTickCount() + kMenuTimeoutMs + kBusyForMs;
  MSG msg;
  while (!handledAt && ::GetTickCount() < deadline) {
    if (!::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::Sleep(1);
      continue;
    }
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
    if (msg.hwnd == trigger && msg.message == WM_HOTKEY) handledAt = ::GetTickCount();
  }
  ::KillTimer(host, kBusyTimer);
  ASSERT_TRUE(testing_support::MenuActionRan());
  ASSERT_TRUE(handledAt);
  EXPECT_LT(handledAt - closedAt, 3000u) << "the dispatch after the menu ran the busy timer";
}

// The watch itself: a fault raised inside a window procedure is counted.
LONG CALLBACK ContinueAfterRaise(EXCEPTION_POINTERS*) { return EXCEPTION_CONTINUE_EXECUTION; }

LRESULT CALLBACK FaultingProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_APP) ::RaiseException(EXCEPTION_ACCESS_VIOLATION, 0, 0, nullptr);
  return ::DefWindowProcA(wnd, msg, wParam, lParam);
}

TEST(FaultWatch, CountsAFaultInsideAWindowProcedure) {
  ui::RegisterWindowClass("FaultingWindow", &FaultingProc);
  base::unique_hwnd wnd(
      ::CreateWindowExA(0, "FaultingWindow", "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, base::ThisModule(), nullptr));
  void* const continuing = ::AddVectoredExceptionHandler(0, &ContinueAfterRaise);  // after the watch
  const long before = testing_support::FaultCount();
  ::SendMessageA(wnd.get(), WM_APP, 0, 0);
  ::RemoveVectoredExceptionHandler(continuing);
  EXPECT_EQ(testing_support::FaultCount(), before + 1);
  testing_support::AcceptFaultsSoFar();
}

}  // namespace
