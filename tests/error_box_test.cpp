// The error box: an error in the refresh is shown in it, in the host's name, also when memory runs out.
#include "taskmenu/AppMain.h"
#include "tests/support/LibraryFailure.h"
#include "tests/support/MenuDriver.h"
#include "tests/support/OutOfMemory.h"
#include "tests/support/TestWindows.h"
#include "ui/ErrorBox.h"

#include <gtest/gtest.h>

#include <new>
#include <string>

using taskmenu::TMainForm;

namespace {

// A task away from the point where the menu opens: an empty menu would close at once.
base::unique_hwnd Task() { return testing_support::OwnWindow(testing_support::Tag("task"), 300, 300, 200, 100); }

void Trigger(TMainForm& form) { ::SendMessageA(form.Handle(), WM_HOTKEY, taskmenu::kTriggerHotKeyId, 0); }

TEST(ErrorBox, AnErrorInTheRefreshIsShownAndTheTriggerWindowKeepsTheForeground) {
  base::unique_hwnd task = Task();
  ::SetForegroundWindow(task.get());  // not a window that another program left in front
  TMainForm form;
  testing_support::LibraryFailure noPsapi("PSAPI.DLL");
  std::string shown;
  testing_support::WhenMessageBoxOpens(ui::ErrorBoxTitle().c_str(), [&](HWND box) {
    shown = testing_support::MessageBoxText(box);
    ::PostMessageA(box, WM_COMMAND, IDOK, 0);
  });
  Trigger(form);
  // "PSAPI.DLL がロードできません。" and a "." after the final double-byte character.
  EXPECT_EQ(shown,
            "PSAPI.DLL \x82\xaa\x83\x8d\x81[\x83h\x82\xc5\x82\xab\x82\xdc\x82\xb9\x82\xf1\x81"
            "B.");
  EXPECT_EQ(::GetForegroundWindow(), form.Handle());
  EXPECT_FALSE(form.Menu().InPopup());
}

TEST(ErrorBox, OutOfMemoryShowsTheBareMessage) {
  base::unique_hwnd task = Task();
  TMainForm form;
  // The refresh fails, and from then on every allocation: the error and its box run short.
  testing_support::LibraryFailure noPsapi("PSAPI.DLL", &testing_support::StartOutOfMemory);
  std::string shown;
  testing_support::WhenMessageBoxOpens(nullptr, [&](HWND box) {
    testing_support::EndOutOfMemory();
    shown = testing_support::MessageBoxText(box);
    ::PostMessageA(box, WM_COMMAND, IDOK, 0);
  });
  Trigger(form);
  testing_support::EndOutOfMemory();
  EXPECT_EQ(shown, std::bad_alloc().what());
  EXPECT_FALSE(form.Menu().InPopup());
}

TEST(ErrorBox, TextAndTitle) {
  EXPECT_EQ(ui::ErrorBoxText(""), "");
  EXPECT_EQ(ui::ErrorBoxText("done."), "done.");
  EXPECT_EQ(ui::ErrorBoxText("failed"), "failed.");
  EXPECT_EQ(ui::ErrorBoxText("(x)"), "(x)");  // ')' sorts before '.'
  EXPECT_EQ(ui::ErrorBoxTitle(), "appmain_test");
}

}  // namespace
