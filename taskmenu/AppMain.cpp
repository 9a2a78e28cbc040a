#include "taskmenu/AppMain.h"

#include "base/Error.h"
#include "base/Foreground.h"
#include "tasklist/NUnit.h"
#include "ui/DpiContext.h"
#include "ui/WorkArea.h"

namespace taskmenu {
namespace {

// Where the trigger window would stand if it were ever restored; it never is.
constexpr int kMainFormLeft = 27;
constexpr int kMainFormTop = 79;
constexpr int kMainFormWidth = 112;
constexpr int kMainFormHeight = 49;

// Created minimised with a sizing border and a system menu only; never shown. The class name,
// caption and styles are fixed: the host and users' tools may look for the window by them.
constexpr ui::WindowDescription kMainFormDescription{
    "TSwivoMainForm",
    "swivo_p",
    WS_CAPTION | WS_THICKFRAME | WS_SYSMENU | WS_MINIMIZE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
    WS_EX_CONTROLPARENT,
    kMainFormLeft,
    kMainFormTop,
    kMainFormWidth,
    kMainFormHeight,
};

// Posted behind the messages that wait when the menu closes; wParam numbers it and lParam carries
// a cookie that other senders cannot know.
constexpr UINT kDispatchMarkMessage = WM_APP + 1;
// At most this many waiting messages are dispatched after a menu: the platform's limit of posted
// messages in one queue, so no more can have been waiting when the mark could not be posted.
constexpr int kMaxDispatchedMessages = 10000;

// Unpredictable enough for a stray post not to hit it; a sender that means harm could do worse
// than post a mark.
LPARAM NewMarkCookie(WPARAM mark) {
  LARGE_INTEGER counter{};
  ::QueryPerformanceCounter(&counter);
  return static_cast<LPARAM>((counter.QuadPart ^ (static_cast<LONGLONG>(mark) << 20)) | 1);
}

}  // namespace

TMainForm::TMainForm() : ui::TForm(kMainFormDescription), menu_(std::make_unique<TTaskPopupMenu>()) {
  try {
    CreateWnd();
  } catch (const base::Error&) {
    // Out of USER or GDI objects: nothing native is left, the settings still reach the menu, and
    // Handle() makes the windows when the command runs.
  }
}

TMainForm::~TMainForm() {
  DestroyWnd();
  menu_.reset();
}

void TMainForm::CreateWnd() {
  ui::TForm::CreateWnd();
  try {
    menu_->CreateOwner();
  } catch (...) {
    DestroyWnd();  // the window and its menu exist together or not at all
    throw;
  }
}

LRESULT TMainForm::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_HOTKEY:
      WMHotKey(wParam);
      return 0;
    case kDispatchMarkMessage:
      if (wParam == marksPosted_ && lParam == markCookie_) markReached_ = true;
      return 0;
    case WM_CLOSE:
      return 0;  // the trigger window lives until unload; Alt+F4 or WM_CLOSE do not end it
    default:
      return ui::TForm::HandleMessage(msg, wParam, lParam);
  }
}

void TMainForm::WMHotKey(WPARAM id) {
  // A trigger that arrives while the menu is open leaves it alone: the user's keys stay with it.
  if (id == kTriggerHotKeyId && !retired_ && !menu_->InPopup()) ShowTaskMenu();
}

void TMainForm::Retire() {
  retired_ = true;
  menu_->Cancel();
}

// Runs the messages that wait when the menu has closed, the chosen item's command among them, up
// to a mark posted behind them: what arrives meanwhile (a busy timer, say) is left to the host's
// own loop. A quit request taken on the way is posted again, so that the host's loop still ends.
void TMainForm::DispatchWaitingMessages() {
  markReached_ = false;
  markCookie_ = NewMarkCookie(++marksPosted_);
  const bool marked = ::PostMessageA(Handle(), kDispatchMarkMessage, marksPosted_, markCookie_);
  MSG msg;
  bool quit = false;
  WPARAM exitCode = 0;
  for (int dispatched = 0; dispatched < kMaxDispatchedMessages && !retired_ && !(marked && markReached_);
       ++dispatched) {
    if (!::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) break;
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

// The menu opens at a point in real pixels, whatever the host's awareness of DPI.
POINT TMainForm::MenuPoint() const {
  const ui::PerMonitorDpiScope perMonitor;
  // A fixed place saved for a monitor that is gone would put the menu in a corner.
  POINT at = ui::ClampIntoWorkArea({fixedX_, fixedY_});
  if (!fixedPos_) ::GetCursorPos(&at);
  return at;
}

void TMainForm::ShowTaskMenu() {
  const POINT at = MenuPoint();
  const HWND previous = ::GetForegroundWindow();
  // A menu of a window that is not in the foreground does not close when the user clicks away.
  (void)base::TakeForeground(Handle());
  menu_->PopupTasks(at.x, at.y, previous);
  if (retired_) return;
  DispatchWaitingMessages();
  if (retired_) return;
  ::Sleep(kSettleDelayMs);
  if (::GetForegroundWindow() == Handle()) (void)tasklist::BringToTop(previous);
}

}  // namespace taskmenu
