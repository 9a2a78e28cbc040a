// The values of the setting Theme, free of the platform so that the settings table also builds
// natively.
#pragma once

namespace ui {

// Any other value follows Windows.
enum ThemeSetting : int { kThemeFollowWindows = 0, kThemeLight = 1, kThemeDark = 2, kThemeClassic = 3 };

inline constexpr int kDefaultTheme = kThemeFollowWindows;

}  // namespace ui
