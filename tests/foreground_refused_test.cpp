// The platform refuses the foreground to a program that did not get the last input. Wine never
// does, so the refusal is faked in this program's import table: SetForegroundWindow fails and
// changes nothing. The trigger window and a chosen window then take the foreground with our input
// shared with the foreground window's thread for the call.
#include "taskmenu/AppMain.h"
#include "tasklist/NUnit.h"
#include "tests/support/Fixture.h"
#include "tests/support/ImportPatch.h"
#include "tests/support/MenuDriver.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using testing_support::FixtureProcess;
using testing_support::ImportPatch;

namespace {

constexpr int kRefuseAll = -1;
constexpr DWORD kBoundMs = 3000;

std::string Tag(const std::string& name) { return "fr-" + std::to_string(::GetCurrentProcessId()) + "-" + name; }

// Refuses the first `refusals` calls of SetForegroundWindow (all with kRefuseAll) and counts the
// input attachments made meanwhile.
class ForegroundRefusal {
 public:
  explicit ForegroundRefusal(int refusals)
      : setForeground_(::GetModuleHandleA(nullptr), "user32.dll", "SetForegroundWindow",
                       reinterpret_cast<void*>(&SetForeground)),
        attach_(::GetModuleHandleA(nullptr), "user32.dll", "AttachThreadInput", reinterpret_cast<void*>(&Attach)) {
    active = this;
    refusalsLeft_ = refusals;
  }
  ForegroundRefusal(const ForegroundRefusal&) = delete;
  ForegroundRefusal& operator=(const ForegroundRefusal&) = delete;
  ~ForegroundRefusal() { active = nullptr; }

  bool Patched() const { return setForeground_.Original() && attach_.Original(); }
  int Attaches() const { return attaches_; }
  int Detaches() const { return detaches_; }

 private:
  static BOOL WINAPI SetForeground(HWND wnd) {
    if (active->refusalsLeft_ == kRefuseAll) return FALSE;
    if (active->refusalsLeft_ > 0) {
      --active->refusalsLeft_;
      return FALSE;
    }
    return reinterpret_cast<decltype(&::SetForegroundWindow)>(active->setForeground_.Original())(wnd);
  }
  static BOOL WINAPI Attach(DWORD thread, DWORD to, BOOL attach) {
    ++(attach ? active->attaches_ : active->detaches_);
    return reinterpret_cast<decltype(&::AttachThreadInput)>(active->attach_.Original())(thread, to, attach);
  }

  static ForegroundRefusal* active;
  ImportPatch setForeground_;
  ImportPatch attach_;
  int refusalsLeft_ = 0;
  int attaches_ = 0;
  int detaches_ = 0;
};

ForegroundRefusal* ForegroundRefusal::active = nullptr;

bool Raised(HWND wnd, LONG_PTR activationsBefore) {
  return ::GetForegroundWindow() == wnd || testing_support::ActivationCount(wnd) > activationsBefore;
}

class RefusedForeground : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    fixture = std::make_unique<FixtureProcess>(
        std::vector<std::string>{"app:" + Tag("foreground"), "app:" + Tag("chosen")});
  }
  static void TearDownTestSuite() { fixture.reset(); }

  void SetUp() override {
    foreground = fixture->Window(Tag("foreground"));
    ::SetForegroundWindow(foreground);
    ASSERT_TRUE(testing_support::WaitFor([&] { return ::GetForegroundWindow() == foreground; }));
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
  EXPECT_EQ(refusal.Attaches(), refusal.Detaches());
  EXPECT_TRUE(testing_support::WaitFor([&] { return Raised(foreground, before); }));
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
  EXPECT_EQ(refusal.Attaches(), refusal.Detaches());
  EXPECT_TRUE(testing_support::WaitFor([&] { return Raised(chosen, before); }));
}

}  // namespace
