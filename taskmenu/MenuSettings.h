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
inline constexpr bool kDefaultPreselect = true;
inline constexpr bool kDefaultCloseKey = true;
inline constexpr bool kDefaultActionMenu = true;
// The menu opens at the mouse cursor; the fixed point, in screen pixels, is used when switched on.
inline constexpr bool kDefaultMenuFixPos = false;
inline constexpr int kDefaultFixedX = 100;
inline constexpr int kDefaultFixedY = 100;

}  // namespace taskmenu
