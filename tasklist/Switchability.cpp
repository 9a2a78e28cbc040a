#include "tasklist/Switchability.h"

#include "base/ProcAddress.h"
#include "base/SystemLibrary.h"
#include "tasklist/WindowSnapshot.h"

#include <string>

namespace tasklist {
namespace {

constexpr DWORD kDwmCloakedAttribute = 14;  // DWMWA_CLOAKED
constexpr char kDwmLibrary[] = "dwmapi.dll";
constexpr char kGetWindowAttribute[] = "DwmGetWindowAttribute";
// Set by ITaskbarList::DeleteTab on a window its application takes off the taskbar.
constexpr char kDeletedFromTaskbarProperty[] = "ITaskList_Deleted";
// Put over a hung window by the system, which may hide the hung window meanwhile.
constexpr char kGhostClass[] = "Ghost";
constexpr char kUser32[] = "user32.dll";
constexpr char kHungWindowFromGhost[] = "HungWindowFromGhostWindow";
// The inside of a store app; its frame window is the task.
constexpr char kCoreWindowClass[] = "Windows.UI.Core.CoreWindow";
constexpr const char* kShellClasses[] = {"Progman", "WorkerW", "Shell_TrayWnd", "Shell_SecondaryTrayWnd"};

bool IsShellClass(const std::string& className) {
  for (const char* shellClass : kShellClasses) {
    if (className == shellClass) return true;
  }
  return false;
}

bool HasEmptyRect(HWND wnd) {
  RECT rect{};
  ::GetWindowRect(wnd, &rect);
  return rect.bottom - rect.top <= 0 || rect.right - rect.left <= 0;
}

}  // namespace

const char* ExclusionText(Exclusion exclusion) {
  switch (exclusion) {
    case Exclusion::kNone:
      return "usable";
    case Exclusion::kDisabled:
      return "disabled";
    case Exclusion::kHidden:
      return "hidden";
    case Exclusion::kToolWindow:
      return "tool window";
    case Exclusion::kEmpty:
      return "empty rectangle";
    case Exclusion::kShellWindow:
      return "the shell window";
    case Exclusion::kNoActivate:
      return "never activated (WS_EX_NOACTIVATE without WS_EX_APPWINDOW)";
    case Exclusion::kGhost:
      return "ghost of a hung window";
    case Exclusion::kShellClass:
      return "a window of the shell";
    case Exclusion::kCoreWindow:
      return "inside of a store app";
    case Exclusion::kDeletedFromTaskbar:
      return "taken off the taskbar (ITaskList_Deleted)";
    case Exclusion::kCloaked:
      return "cloaked";
  }
  return "";
}

Exclusion UsabilityOf(HWND wnd, WindowSnapshot& windows) {
  const LONG style = windows.Style(wnd);
  if (style & WS_DISABLED) return Exclusion::kDisabled;
  if (!(style & WS_VISIBLE)) return Exclusion::kHidden;
  if (windows.IsToolWindow(wnd)) return Exclusion::kToolWindow;
  if (HasEmptyRect(wnd)) return Exclusion::kEmpty;
  return windows.SwitchExclusion(wnd);
}

SwitchTests::SwitchTests()
    : dwmapi_(base::LoadSystemLibrary(kDwmLibrary)),
      shellWindow_(::GetShellWindow()),
      // A property name is a global atom: while the atom does not exist, no window has the
      // property, and no window needs to be asked.
      deletedMark_(::GlobalFindAtomA(kDeletedFromTaskbarProperty)) {
  getWindowAttribute_ = base::ProcAddress<GetWindowAttributeFn>(dwmapi_.get(), kGetWindowAttribute);
}

Exclusion SwitchTests::Test(HWND wnd, WindowSnapshot& windows) const {
  if (wnd == shellWindow_) return Exclusion::kShellWindow;
  const LONG exStyle = windows.ExStyle(wnd);
  if ((exStyle & WS_EX_NOACTIVATE) && !(exStyle & WS_EX_APPWINDOW)) return Exclusion::kNoActivate;
  const std::string& className = windows.ClassName(wnd);
  if (className == kGhostClass) return GhostExclusion(wnd, windows);
  if (IsShellClass(className)) return Exclusion::kShellClass;
  if (className == kCoreWindowClass) return Exclusion::kCoreWindow;
  if (deletedMark_ && ::GetPropA(wnd, MAKEINTATOM(deletedMark_))) return Exclusion::kDeletedFromTaskbar;
  if (IsCloaked(wnd)) return Exclusion::kCloaked;
  return Exclusion::kNone;
}

// A failing library, function or call counts as not cloaked.
bool SwitchTests::IsCloaked(HWND wnd) const {
  if (!getWindowAttribute_) return false;
  DWORD cloaked = 0;
  return SUCCEEDED(getWindowAttribute_(wnd, kDwmCloakedAttribute, &cloaked, sizeof(cloaked))) && cloaked != 0;
}

// user32 is loaded with us; a look-up in it loads nothing.
SwitchTests::HungWindowFromGhostFn SwitchTests::LookUpHungWindowFromGhost() {
  return reinterpret_cast<HungWindowFromGhostFn>(
      reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA(kUser32), kHungWindowFromGhost)));
}

// A ghost is left out while its hung window is listed itself. Where the hung window is not (the
// system may hide it while ghosted), the ghost stands for it, so that a hung application stays in
// the list. Without the link (before Vista, Wine) or a hung window to follow, it is left out.
Exclusion SwitchTests::GhostExclusion(HWND ghost, WindowSnapshot& windows) const {
  const HWND hung = hungWindowFromGhost_ ? hungWindowFromGhost_(ghost) : nullptr;
  // A ghost over a ghost cannot be; the test keeps a cycle from recursing.
  if (!hung || IsGhost(hung, windows) || IsUsable(hung, windows)) return Exclusion::kGhost;
  return Exclusion::kNone;
}

bool IsGhost(HWND wnd, WindowSnapshot& windows) { return windows.ClassName(wnd) == kGhostClass; }

}  // namespace tasklist
