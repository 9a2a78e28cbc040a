#include "taskmenu/AppMain.h"

#include "tasklist/Foreground.h"
#include "tasklist/NUnit.h"

namespace taskmenu {
namespace {

// Created minimised with a sizing border and a system menu only; never shown.
constexpr ui::FormDescription kMainFormDescription{
    "TSwivoMainForm",
    "swivo_p",
    WS_CAPTION | WS_THICKFRAME | WS_SYSMENU | WS_MINIMIZE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
    WS_EX_CONTROLPARENT,
    27,
    79,
    112,
    49,
};

// Runs the messages waiting in the thread's queue, the chosen item's command among them. A quit
// request taken on the way is posted again, so that the host's loop still ends.
void DispatchWaitingMessages() {
  MSG msg;
  bool quit = false;
  WPARAM exitCode = 0;
  while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      quit = true;
      exitCode = msg.wParam;
      continue;
    }
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
  if (quit) ::PostQuitMessage(static_cast<int>(exitCode));
}

}  // namespace

TMainForm::TMainForm() : ui::TForm(kMainFormDescription) { CreateWnd(); }

TMainForm::~TMainForm() {
  DestroyWnd();
  menu_.reset();
}

void TMainForm::CreateWnd() {
  ui::TForm::CreateWnd();
  menu_ = std::make_unique<TTaskPopupMenu>();
}

bool TMainForm::HandleMessage(UINT msg, WPARAM wParam, LPARAM, LRESULT& result) {
  if (msg != WM_HOTKEY) return false;
  WMHotKey(wParam);
  result = 0;
  return true;
}

void TMainForm::WMHotKey(WPARAM id) {
  if (id == kTriggerHotKeyId && !retired_) ShowTaskMenu();
}

void TMainForm::Retire() {
  retired_ = true;
  if (menu_->InPopup()) ::EndMenu();
}

void TMainForm::ShowTaskMenu() {
  POINT at{fixedX_, fixedY_};
  if (!fixedPos_) ::GetCursorPos(&at);
  const HWND previous = ::GetForegroundWindow();
  // A menu of a window that is not in the foreground does not close when the user clicks away.
  (void)tasklist::TakeForeground(Handle());
  menu_->PopupTasks(at.x, at.y);
  if (retired_) return;
  DispatchWaitingMessages();
  if (retired_) return;
  ::Sleep(kSettleDelayMs);
  if (::GetForegroundWindow() == Handle()) (void)tasklist::BringToTop(previous);
}

}  // namespace taskmenu
