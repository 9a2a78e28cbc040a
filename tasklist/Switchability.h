// Which windows can stand for a task. Besides the classic rule (enabled, visible, no tool window,
// not empty), today's desktops list windows in EnumWindows that no user can switch to: cloaked
// ones (another virtual desktop, suspended store apps), the ghost over a hung window while that
// window is listed itself, the shell's own windows, the inside of a store app, windows their
// application took off the taskbar, and windows that never take activation. Alt+Tab leaves them
// out, and so do we.
#pragma once

#include "base/Handle.h"

#include <windows.h>

namespace tasklist {

// The snapshot caches what these tests compute, and the tests read the window through it.
class WindowSnapshot;

// Why a window cannot stand for a task; kNone when it can.
enum class Exclusion {
  kNone,
  kDisabled,
  kHidden,
  kToolWindow,
  kEmpty,
  kShellWindow,
  kNoActivate,
  kGhost,
  kShellClass,
  kCoreWindow,
  kDeletedFromTaskbar,
  kCloaked,
};

// A short explanation for people asking why a window is (not) listed.
const char* ExclusionText(Exclusion exclusion);

// Why `wnd` cannot be the window that an entry activates, the cheap reads first: the switch
// tests are made only for a window that passes the classic rule.
Exclusion UsabilityOf(HWND wnd, WindowSnapshot& windows);
inline bool IsUsable(HWND wnd, WindowSnapshot& windows) { return UsabilityOf(wnd, windows) == Exclusion::kNone; }

// What the switch tests need from the system, gathered once per refresh: the desktop window
// manager's cloaking query (looked up at run time; absent before Vista and answering E_NOTIMPL
// under Wine), the shell window, the atom of the taskbar's removal mark, and the system's link
// from a ghost to its hung window (user32 since Vista; Wine has none).
class SwitchTests {
 public:
  SwitchTests();
  SwitchTests(const SwitchTests&) = delete;
  SwitchTests& operator=(const SwitchTests&) = delete;

  // One of the kShellWindow to kCloaked exclusions, or kNone. Each read of the window is made
  // once and only when the cheaper tests before it have passed.
  Exclusion Test(HWND wnd, WindowSnapshot& windows) const;

 private:
  using GetWindowAttributeFn = HRESULT(WINAPI*)(HWND, DWORD, void*, DWORD);
  using HungWindowFromGhostFn = HWND(WINAPI*)(HWND);

  static HungWindowFromGhostFn LookUpHungWindowFromGhost();
  bool IsCloaked(HWND wnd) const;
  Exclusion GhostExclusion(HWND ghost, WindowSnapshot& windows) const;

  base::unique_hmodule dwmapi_;
  GetWindowAttributeFn getWindowAttribute_ = nullptr;
  HWND shellWindow_ = nullptr;
  ATOM deletedMark_ = 0;
  HungWindowFromGhostFn hungWindowFromGhost_ = LookUpHungWindowFromGhost();
};

// Whether `wnd` is a ghost that the system put over a hung window.
bool IsGhost(HWND wnd, WindowSnapshot& windows);

}  // namespace tasklist
