// The values of the task menu's and the trigger window's settings and their defaults, free of the
// platform so that the settings table also builds natively.
#pragma once

namespace taskmenu {

// How item captions get an accelerator suffix ("(&a)", "(&b)", …).
enum AcceleratorStyles : int {
  kNoAccelerator = 0,
  kAcceleratorAppended = 1,    // "caption(&a)"
  kAcceleratorAfterSpace = 2,  // "caption (&a)"
};

inline constexpr int kDefaultAcceleratorStyle = kNoAccelerator;

// What starts finding a task by typing while the menu is open.
enum FindStarts : int {
  kFindOff = 0,
  kFindBySlash = 1,   // '/' or Ctrl+F
  kFindByTyping = 2,  // also any printable character, when the captions carry no accelerator
};
inline constexpr int kDefaultFind = kFindBySlash;

inline constexpr bool kDefaultPreselect = true;
inline constexpr bool kDefaultCloseKey = true;
// Every task is listed, on whichever monitor; on: only those on the monitor where the menu opens.
inline constexpr bool kDefaultThisMonitorOnly = false;
inline constexpr bool kDefaultActionMenu = true;
// The menu opens at the mouse cursor; the fixed point, in screen pixels, is used when switched on.
inline constexpr bool kDefaultMenuFixPos = false;
inline constexpr int kDefaultFixedX = 100;
inline constexpr int kDefaultFixedY = 100;

}  // namespace taskmenu
