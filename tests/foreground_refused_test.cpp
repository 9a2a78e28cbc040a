// The platform refuses the foreground to a program that did not get the last input. Wine never
// does, so the refusal is faked in this program's import table: SetForegroundWindow fails and
// changes nothing, and after a refusal only input shared with the foreground window's thread, or its
// permission, gets it. The trigger window and a chosen window then get that permission through a
// helper thread whose input is shared with the foreground thread for a moment, and ask again from
// the caller's thread; the caller's own input is never shared, and it waits for the helper only
// briefly.
#include "tasklist/NUnit.h"
#include "taskmenu/AppMain.h"
#include "tests/support/Fixture.h"
#include "tests/support/ImportPatch.h"
#include "tests/support/MenuDriver.h"
#include "tests/support/PluginLibrary.h"
#include "tests/support/TestWindows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <string>
#include <vector>

using testing_support::FixtureProcess;
using testing_support::ImportPatch;
using testing_support::SlowStep;

namespace {

constexpr int kRefuseAll = -1;
constexpr DWORD kBoundMs = 3000;
// How soon the menu must open, or the chosen window's raise return, however busy the other
// application is.
constexpr DWORD kPromptMs = 1000;

using testing_support::Tag;

// Refuses the first `refusals` calls of SetForegroundWindow (all with kRefuseAll), later ones too
// unless made with input attached or after a permission given with it, and counts the input
// attachments made meanwhile; in the imports of `module`, this program's unless said. A helper
// thread of the code under test may still call through the patches after the test that made them
// ended; the originals stay reachable for it.
class ForegroundRefusal {
 public:
  explicit ForegroundRefusal(int refusals, HMODULE module = ::GetModuleHandleA(nullptr))
      : setForeground_(module, "user32.dll", "SetForegroundWindow", reinterpret_cast<void*>(&SetForeground)),
        attach_(module, "user32.dll", "AttachThreadInput", reinterpret_cast<void*>(&Attach)),
        allow_(module, "user32.dll", "AllowSetForegroundWindow", reinterpret_cast<void*>(&Allow)),
        refusalsLeft_(refusals) {
    originalSetForeground = reinterpret_cast<decltype(&::SetForegroundWindow)>(setForeground_.Original());
    originalAttach = reinterpret_cast<decltype(&::AttachThreadInput)>(attach_.Original());
    originalAllow = reinterpret_cast<decltype(&::AllowSetForegroundWindow)>(allow_.Original());
    active = this;
  }
  ForegroundRefusal(const ForegroundRefusal&) = delete;
  ForegroundRefusal& operator=(const ForegroundRefusal&) = delete;
  ~ForegroundRefusal() { active = nullptr; }

  bool Patched() const { return setForeground_.Original() && attach_.Original() && allow_.Original(); }
  int Attaches() const { return attaches_; }
  int Detaches() const { return detaches_; }
  int AttachesOf(DWORD thread) const { return thread == testThread_ ? attachesOfTestThread_.load() : -1; }

 private:
  static BOOL WINAPI SetForeground(HWND wnd) {
    if (ForegroundRefusal* refusal = active; refusal && refusal->Refuses()) return FALSE;
    return originalSetForeground(wnd);
  }
  static BOOL WINAPI Allow(DWORD process) {
    if (ForegroundRefusal* refusal = active; refusal && refusal->Attached()) refusal->permitted_ = true;
    return originalAllow(process);
  }
  static BOOL WINAPI Attach(DWORD thread, DWORD to, BOOL attach) {
    if (ForegroundRefusal* refusal = active) {
      ++(attach ? refusal->attaches_ : refusal->detaches_);
      if (attach && thread == refusal->testThread_) ++refusal->attachesOfTestThread_;
    }
    return originalAttach(thread, to, attach);
  }
  bool Attached() const { return attaches_ > detaches_; }
  bool Refuses() {
    if (refusalsLeft_ == kRefuseAll) return true;
    if (refusalsLeft_ <= 0) return !Attached() && !permitted_;
    --refusalsLeft_;
    return true;
  }

  static inline std::atomic<ForegroundRefusal*> active = nullptr;
  static inline decltype(&::SetForegroundWindow) originalSetForeground = nullptr;
  static inline decltype(&::AttachThreadInput) originalAttach = nullptr;
  static inline decltype(&::AllowSetForegroundWindow) originalAllow = nullptr;
  ImportPatch setForeground_;
  ImportPatch attach_;
  ImportPatch allow_;
  std::atomic<int> refusalsLeft_;
  std::atomic<bool> permitted_ = false;
  std::atomic<int> attaches_ = 0;
  std::atomic<int> detaches_ = 0;
  std::atomic<int> attachesOfTestThread_ = 0;
  const DWORD testThread_ = ::GetCurrentThreadId();
};

class RefusedForeground : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    fixture =
        std::make_unique<FixtureProcess>(std::vector<std::string>{"app:" + Tag("foreground"), "app:" + Tag("chosen")});
  }
  static void TearDownTestSuite() { fixture.reset(); }

  void SetUp() override {
    foreground = fixture->Window(Tag("foreground"));
    ::SetForegroundWindow(foreground);
    ASSERT_TRUE(testing_support::WaitFor([&] { return ::GetForegroundWindow() == foreground; }))
        << ::GetForegroundWindow();
  }

  // The foreground while the menu is open; the menu is dismissed with Esc.
  HWND DismissMenu(taskmenu::TMainForm& form) {
    HWND whileOpen = nullptr;
    testing_support::WhenMenuOpens([&](HWND open) {
      whileOpen = ::GetForegroundWindow();
      testing_support::PressInMenu(open, VK_ESCAPE);
    });
    ::SendMessageA(form.Handle(), WM_HOTKEY, taskmenu::kTriggerHotKeyId, 0);
    EXPECT_TRUE(testing_support::MenuActionRan());
    EXPECT_FALSE(form.Menu().InPopup());
    return whileOpen;
  }

  static std::unique_ptr<FixtureProcess> fixture;
  HWND foreground = nullptr;
};

std::unique_ptr<FixtureProcess> RefusedForeground::fixture;

TEST_F(RefusedForeground, TheTriggerWindowTakesItThroughTheForegroundThreadAndGivesItBack) {
  taskmenu::TMainForm form;
  const LONG_PTR before = testing_support::ActivationCount(foreground);
  ForegroundRefusal refusal(1);
  ASSERT_TRUE(refusal.Patched());
  EXPECT_EQ(DismissMenu(form), form.Handle());
  EXPECT_GE(refusal.Attaches(), 1);
  EXPECT_EQ(refusal.AttachesOf(::GetCurrentThreadId()), 0) << "the caller's own input was attached";
  EXPECT_EQ(refusal.Attaches(), refusal.Detaches());
  EXPECT_TRUE(testing_support::Raised(foreground, before));
}

TEST_F(RefusedForeground, RefusedEvenThenTheMenuShowsAndClosesWithEsc) {
  taskmenu::TMainForm form;
  ForegroundRefusal refusal(kRefuseAll);
  ASSERT_TRUE(refusal.Patched());
  const DWORD start = ::GetTickCount();
  EXPECT_EQ(DismissMenu(form), foreground);
  EXPECT_LT(::GetTickCount() - start, kBoundMs);
  EXPECT_EQ(refusal.Attaches(), refusal.Detaches());
  EXPECT_EQ(::GetForegroundWindow(), foreground);
}

TEST_F(RefusedForeground, AChosenWindowTakesItThroughTheForegroundThread) {
  const HWND chosen = fixture->Window(Tag("chosen"));
  const LONG_PTR before = testing_support::ActivationCount(chosen);
  ForegroundRefusal refusal(1);
  ASSERT_TRUE(refusal.Patched());
  EXPECT_TRUE(tasklist::BringToTop(chosen));
  EXPECT_GE(refusal.Attaches(), 1);
  EXPECT_EQ(refusal.AttachesOf(::GetCurrentThreadId()), 0) << "the caller's own input was attached";
  EXPECT_EQ(refusal.Attaches(), refusal.Detaches());
  EXPECT_TRUE(testing_support::Raised(chosen, before));
}

struct BusyApplication {
  const char* name;
  SlowStep step;
  DWORD ms;
};

// The foreground application is busy for seconds just when the foreground is handed over.
class BusyForeground : public RefusedForeground, public ::testing::WithParamInterface<BusyApplication> {
 protected:
  // The helper thread is done at once, however long the application is busy.
  static void ExpectHelperDone(const ForegroundRefusal& refusal) {
    EXPECT_TRUE(testing_support::WaitFor([&] { return refusal.Attaches() == refusal.Detaches(); }, kPromptMs))
        << refusal.Attaches() << " attaches, " << refusal.Detaches() << " detaches";
    EXPECT_EQ(refusal.AttachesOf(::GetCurrentThreadId()), 0) << "the caller's own input was attached";
  }
  // Pumps until the application, busy from after `start` on, answers again.
  static void WaitUntilItAnswers(DWORD start) {
    const DWORD answers = GetParam().ms + kPromptMs;
    testing_support::PumpMessages(answers - std::min(answers, ::GetTickCount() - start));
  }
  static void ExpectNotInFront(HWND trigger) {
    EXPECT_NE(::GetForegroundWindow(), trigger);
    EXPECT_NE(::GetActiveWindow(), trigger);
  }
};

TEST_P(BusyForeground, TheMenuOpensWithoutWaitingAndEscGivesTheForegroundBackForGood) {
  taskmenu::TMainForm form;
  ForegroundRefusal refusal(1);
  ASSERT_TRUE(refusal.Patched());
  fixture->SlowDownNext(GetParam().step, GetParam().ms);
  const DWORD start = ::GetTickCount();
  DWORD openedAfter = INFINITE;
  testing_support::WhenMenuOpens([&](HWND open) {
    openedAfter = ::GetTickCount() - start;
    testing_support::PressInMenu(open, VK_ESCAPE);
  });
  ::SendMessageA(form.Handle(), WM_HOTKEY, taskmenu::kTriggerHotKeyId, 0);
  EXPECT_TRUE(testing_support::MenuActionRan());
  EXPECT_LT(openedAfter, kPromptMs);
  ExpectHelperDone(refusal);
  WaitUntilItAnswers(start);
  EXPECT_EQ(::GetForegroundWindow(), foreground);
  ExpectNotInFront(form.Handle());
}

TEST_P(BusyForeground, AWindowChosenMeanwhileLeavesTheTriggerWindowBehindForGood) {
  taskmenu::TMainForm form;
  form.SetAutoHotKey(1);
  const HWND chosen = fixture->Window(Tag("chosen"));
  ForegroundRefusal refusal(1);
  ASSERT_TRUE(refusal.Patched());
  fixture->SlowDownNext(GetParam().step, GetParam().ms);
  const DWORD start = ::GetTickCount();
  testing_support::WhenMenuOpens([&](HWND open) {
    const int index = testing_support::IndexOfWindow(form.Menu().Tasks(), chosen);
    ASSERT_GE(index, 0);
    ASSERT_LT(index, 26);
    testing_support::TypeInMenu(open, static_cast<char>('a' + index));
  });
  ::SendMessageA(form.Handle(), WM_HOTKEY, taskmenu::kTriggerHotKeyId, 0);
  EXPECT_TRUE(testing_support::MenuActionRan());
  WaitUntilItAnswers(start);
  ExpectNotInFront(form.Handle());
}

TEST_P(BusyForeground, AChosenWindowIsRaisedWithoutWaitingForIt) {
  const HWND chosen = fixture->Window(Tag("chosen"));
  ForegroundRefusal refusal(1);
  ASSERT_TRUE(refusal.Patched());
  fixture->SlowDownNext(GetParam().step, GetParam().ms);
  const DWORD start = ::GetTickCount();
  (void)tasklist::BringToTop(chosen);
  EXPECT_LT(::GetTickCount() - start, kPromptMs);
  ExpectHelperDone(refusal);
  WaitUntilItAnswers(start);
}

TEST_P(BusyForeground, TheLibraryIsUnmappedAtOnceAfterUnloadWhileTheApplicationIsBusy) {
  testing_support::PluginLibrary library;
  ASSERT_TRUE(library.Loaded()) << library.path;
  ASSERT_EQ(library.init(library.path.c_str(), 0), -1);
  const DWORD start = ::GetTickCount();
  {
    ForegroundRefusal refusal(1, library.Module());
    ASSERT_TRUE(refusal.Patched());
    fixture->SlowDownNext(GetParam().step, GetParam().ms);
    testing_support::WhenMenuOpens([](HWND open) { testing_support::PressInMenu(open, VK_ESCAPE); });
    (void)library.execute(0, nullptr);
    EXPECT_TRUE(testing_support::WaitFor([] { return testing_support::MenuActionRan(); })) << "no menu opened";
  }
  library.unload();
  library.Free();
  EXPECT_TRUE(testing_support::WaitFor([&] { return !::GetModuleHandleA(library.path.c_str()); }, kPromptMs))
      << "still mapped at " << ::GetModuleHandleA(library.path.c_str());
  WaitUntilItAnswers(start);
}

INSTANTIATE_TEST_SUITE_P(Applications, BusyForeground,
                         ::testing::Values(BusyApplication{"SlowToDeactivate", SlowStep::kDeactivation, 3000},
                                           BusyApplication{"HangsAfterTheProbe", SlowStep::kAfterProbe, 8000}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
