// Dark menus from the system: the menu's frame and scroll arrows are drawn by the system, which
// draws them dark only while the thread prefers the dark app mode. That preference is the
// process's, so it is set only until the menu window exists, and put back on every way out: the
// menu keeps the theme it was made with until the flush at its end, while what the host makes
// meanwhile gets the host's own mode.
#pragma once

#include "ui/UxTheme.h"

namespace ui {

class DarkMenuScope {
 public:
  // Does nothing unless `dark`, and before Windows 10 1903, which lacks the functions.
  DarkMenuScope(bool dark, UxTheme& uxTheme);
  DarkMenuScope(const DarkMenuScope&) = delete;
  DarkMenuScope& operator=(const DarkMenuScope&) = delete;
  ~DarkMenuScope();

  // Puts the host's preference back, once; a mode that the host set meanwhile is kept.
  void RestoreMode();

 private:
  using SetModeFunction = int(WINAPI*)(int mode);
  using FlushFunction = void(WINAPI*)();

  SetModeFunction setMode_ = nullptr;
  FlushFunction flush_ = nullptr;
  int previous_ = 0;
  bool restored_ = false;
};

}  // namespace ui
