// Windows of other threads, ours or another program's, that stop answering or answer slowly: their
// captions are read and they are raised without the caller waiting for them. Our dispatching serves
// one thread; another thread's scopes and releases leave it alone and are counted.
#include "tasklist/NUnit.h"
#include "tasklist/TaskRefresh.h"
#include "tasklist/WindowQueries.h"
#include "tests/support/Fixture.h"
#include "tests/support/TestWindows.h"
#include "ui/DispatchScope.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>

using testing_support::FixtureProcess;

namespace {

// Each blocked thread or program blocks this long; every call must return well within it.
constexpr DWORD kBlockMs = 6000;
constexpr DWORD kBoundMs = 3000;

using testing_support::IndexOfWindow;
using testing_support::OwnWindow;
using testing_support::Tag;

std::wstring Wide(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }

// A window of a second thread of this program, whose thread then blocks without pumping messages
// until it is released or kBlockMs have passed, like a hung window of another plug-in.
class BlockedThreadWindow {
 public:
  explicit BlockedThreadWindow(const std::wstring& caption)
      : created_(::CreateEventA(nullptr, TRUE, FALSE, nullptr)),
        release_(::CreateEventA(nullptr, TRUE, FALSE, nullptr)) {
    thread_ = std::thread([this, caption] {
      wnd_ = ::CreateWindowExW(0, L"STATIC", caption.c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100, nullptr,
                               nullptr, nullptr, nullptr);
      ::SetEvent(created_.get());
      ::WaitForSingleObject(release_.get(), kBlockMs);
      ::DestroyWindow(wnd_);
    });
    ::WaitForSingleObject(created_.get(), INFINITE);
  }
  BlockedThreadWindow(const BlockedThreadWindow&) = delete;
  BlockedThreadWindow& operator=(const BlockedThreadWindow&) = delete;
  ~BlockedThreadWindow() {
    ::SetEvent(release_.get());
    thread_.join();
  }

  HWND Window() const { return wnd_; }

 private:
  base::unique_kernel_handle created_;
  base::unique_kernel_handle release_;
  HWND wnd_ = nullptr;
  std::thread thread_;
};

// Wine may report no foreground window after a raise: the target's own count of activations then
// shows that it was activated.
bool WasRaised(HWND wnd, LONG_PTR activationsBefore) {
  const bool activated = ::GetForegroundWindow() == wnd || testing_support::ActivationCount(wnd) > activationsBefore;
  return activated && ::GetTopWindow(nullptr) == wnd;
}

TEST(OtherThreadOfThisProgram, CaptionsOfItsBlockedWindowAreReadWithoutWaiting) {
  const std::string tag = Tag("blocked");
  BlockedThreadWindow blocked(Wide(tag) + L" \x3042");  // "あ": Shift-JIS 82 A0
  const DWORD start = ::GetTickCount();
  const std::string caption = tasklist::WindowTextOf(blocked.Window());
  const std::wstring wideCaption = tasklist::WideWindowTextOf(blocked.Window(), tasklist::ThreadOf(blocked.Window()));
  tasklist::TWinInfos tasks;
  tasklist::Refresh(tasks);
  EXPECT_LT(::GetTickCount() - start, kBoundMs) << "a caption read waited for the blocked thread";
  EXPECT_EQ(caption, tag + " \x82\xa0");
  EXPECT_EQ(wideCaption, Wide(tag) + L" \x3042");
  const int index = IndexOfWindow(tasks, blocked.Window());
  ASSERT_GE(index, 0);
  EXPECT_EQ(tasks.Items(index).Caption.Ansi(), caption);
}

// 1021 bytes fit before "あ" reaches past the 1022 that the caption buffer holds.
TEST(CaptionCutShort, EndsBeforeADoubleByteCharacterThatDoesNotFit) {
  const std::string kept = Tag("long") + std::string(1021 - Tag("long").size(), 'x');
  const std::string caption = kept + "\x82\xa0";
  base::unique_hwnd own = OwnWindow(caption);
  FixtureProcess other({"app:" + caption});
  BlockedThreadWindow blocked(Wide(kept) + L"\x3042");
  for (const HWND wnd : {own.get(), other.Windows().at(0), blocked.Window()}) {
    const std::string text = tasklist::WindowTextOf(wnd);
    EXPECT_TRUE(text == kept) << "window " << wnd << ": " << text.size() << " bytes, ending in "
                              << ::testing::PrintToString(text.substr(text.size() < 4 ? 0 : text.size() - 4));
  }
}

TEST(BringToTopHung, TargetWhoseThreadOwnsTheForegroundIsNotWaitedFor) {
  FixtureProcess fixture({"app:" + Tag("hung foreground"), "app:" + Tag("hung target")});
  const HWND foreground = fixture.Window(Tag("hung foreground"));
  const HWND target = fixture.Window(Tag("hung target"));
  ::SetForegroundWindow(foreground);
  ASSERT_TRUE(testing_support::WaitFor([&] { return ::GetForegroundWindow() == foreground; }))
      << ::GetForegroundWindow();
  fixture.Hang(kBlockMs);

  const DWORD start = ::GetTickCount();
  EXPECT_FALSE(tasklist::BringToTop(target));
  EXPECT_LT(::GetTickCount() - start, kBoundMs) << "the caller waited for the hung thread";
  EXPECT_TRUE(testing_support::WaitFor([&] { return ::GetTopWindow(nullptr) == target; }, kBlockMs + 5000))
      << "top window " << ::GetTopWindow(nullptr);
}

TEST(BringToTopSlow, TargetSlowToMoveIsRaisedWithoutWaitingForIt) {
  FixtureProcess fixture({"app:" + Tag("slow")});
  const HWND target = fixture.Window(Tag("slow"));
  base::unique_hwnd mine = OwnWindow(Tag("foreground before slow"));
  ::SetForegroundWindow(mine.get());
  const LONG_PTR before = testing_support::ActivationCount(target);
  fixture.SlowDownNext(testing_support::SlowStep::kMove, kBlockMs);

  const DWORD start = ::GetTickCount();
  EXPECT_TRUE(tasklist::BringToTop(target));
  EXPECT_LT(::GetTickCount() - start, kBoundMs) << "the caller waited for the target's position change";
  EXPECT_TRUE(testing_support::WaitFor([&] { return WasRaised(target, before); }, kBlockMs + 5000))
      << "foreground " << ::GetForegroundWindow() << ", activations " << testing_support::ActivationCount(target);
}

TEST(OtherThreadOfThisProgram, LeavesOurDispatchingAloneAndIsCounted) {
  struct Flagged : ui::TDeferredRelease {
    explicit Flagged(bool& released) : released_(released) {}
    ~Flagged() override { released_ = true; }
    bool& released_;
  };
  const ui::DispatchScope scope;  // this thread is the served one
  const int before = ui::CallsFromOtherThreads();
  bool released = false;
  std::thread([&] {
    const ui::DispatchScope other;
    ui::ReleaseWhenIdle(std::make_unique<Flagged>(released));
  }).join();
  EXPECT_EQ(ui::CallsFromOtherThreads(), before + 2);
  EXPECT_FALSE(released) << "another thread destroyed an object of ours";
  EXPECT_TRUE(ui::InDispatch()) << "another thread's scope ended ours";
}

}  // namespace
