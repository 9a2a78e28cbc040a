// A caption with characters outside the ANSI code page is drawn whole, read as UTF-16, and its
// accelerator still chooses its task.
#include "tasklist/TaskRefresh.h"
#include "taskmenu/TaskMenu.h"
#include "tests/support/Fixture.h"
#include "tests/support/ImportPatch.h"
#include "tests/support/MenuDriver.h"
#include "tests/support/TestWindows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cwchar>
#include <string>
#include <vector>

using testing_support::ImportPatch;

namespace {

constexpr wchar_t kWideCaption[] = L"Edge\u200B \u8FD9 \uAC00";

std::vector<std::wstring> drawnTexts;
decltype(&::DrawTextW) realDrawTextW;
int WINAPI RecordDrawTextW(HDC dc, LPCWSTR text, int length, LPRECT rect, UINT format) {
  if (!(format & DT_CALCRECT)) drawnTexts.emplace_back(text, length < 0 ? wcslen(text) : static_cast<size_t>(length));
  return realDrawTextW(dc, text, length, rect, format);
}

LONG activations = 0;
LRESULT CALLBACK CountActivations(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_ACTIVATE && LOWORD(wParam) != WA_INACTIVE) ++activations;
  return ::DefWindowProcW(wnd, msg, wParam, lParam);
}

// A task window of this thread whose caption is set as UTF-16.
base::unique_hwnd CaptionWindow(const std::wstring& caption) {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = &CountActivations;
  windowClass.lpszClassName = L"WideCaptionsTestCaption";
  ::RegisterClassW(&windowClass);  // fails harmlessly when an earlier test registered it
  base::unique_hwnd wnd(::CreateWindowExW(0, windowClass.lpszClassName, L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 60, 60,
                                          200, 100, nullptr, nullptr, nullptr, nullptr));
  ::SetWindowTextW(wnd.get(), caption.c_str());
  return wnd;
}

TEST(WideCaptions, TheWholeTextIsDrawnAndTheAcceleratorStillChoosesIt) {
  const base::unique_hwnd wnd = CaptionWindow(kWideCaption);
  ImportPatch draw(::GetModuleHandleA(nullptr), "user32.dll", "DrawTextW", reinterpret_cast<void*>(&RecordDrawTextW));
  realDrawTextW = reinterpret_cast<decltype(realDrawTextW)>(draw.Original());
  ASSERT_TRUE(realDrawTextW);

  taskmenu::TTaskPopupMenu menu;
  menu.SetAutoHotKey(1);
  drawnTexts.clear();
  testing_support::WhenMenuOpens([](HWND open) { testing_support::PressInMenu(open, VK_ESCAPE); });
  menu.PopupTasks(10, 10);
  const int index = testing_support::IndexOfWindow(menu.Tasks(), wnd.get());
  ASSERT_GE(index, 0);
  ASSERT_LT(index, 26);
  const std::wstring expected = std::wstring(kWideCaption) + L"(&" + static_cast<wchar_t>(L'a' + index) + L")";
  EXPECT_NE(std::find(drawnTexts.begin(), drawnTexts.end(), expected), drawnTexts.end());

  const LONG before = activations;
  testing_support::WhenMenuOpens(
      [index](HWND open) { testing_support::TypeInMenu(open, static_cast<char>('a' + index)); });
  menu.PopupTasks(10, 10);
  EXPECT_TRUE(testing_support::WaitFor([&] { return ::GetForegroundWindow() == wnd.get() || activations > before; }))
      << "activations " << activations << " (before " << before << ")";
}

// The 8-bit read stops at 1,022 bytes and drops the lead byte of a character cut there; what is
// shown is read as UTF-16 and keeps U+AC00, which code page 932 lacks.
TEST(WideCaptions, ALongCaptionCutInTheMiddleOfACharacterShowsEveryCharacter) {
  const std::wstring caption = std::wstring(1000, L'a') + L"\uAC00" + std::wstring(20, L'b') + L"\u3042";
  const base::unique_hwnd wnd = CaptionWindow(caption);
  tasklist::TWinInfos tasks;
  tasklist::Refresh(tasks);
  const int index = testing_support::IndexOfWindow(tasks, wnd.get());
  ASSERT_GE(index, 0);
  ASSERT_EQ(tasks.Items(index).Caption.Ansi().size(), 1021u)
      << "the 8-bit read no longer cuts where this test needs it";
  EXPECT_EQ(tasks.Items(index).Caption.Shown(), caption);
}

}  // namespace
