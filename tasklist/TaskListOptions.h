// The switches of the task collection with their defaults, handed down as one record: a new
// switch is one line here and reaches every step that reads it.
#pragma once

#include "tasklist/ExcludeRules.h"

#include <string_view>

namespace tasklist {

// The size of icons in the menu at the default DPI.
inline constexpr int kSmallIconSize = 16;

// When the menu's icons are larger than small icons (a screen above 100 %), each icon step takes
// the big icon first, which the menu scales down, rather than a small one it would stretch.
[[nodiscard]] constexpr bool BigIconsFirst(int iconSize) { return iconSize > kSmallIconSize; }

// The defaults of the switches that the settings file sets; its table takes them from here.
inline constexpr bool kDefaultSortByExe = false;
inline constexpr bool kDefaultSortByCaption = true;
inline constexpr bool kDefaultEditorMode = false;
inline constexpr bool kDefaultWindowIcon = true;
// No names left out: an empty list parses to no patterns.
inline constexpr std::string_view kDefaultExcludeList = "";

struct TaskListOptions {
  bool sortByExe = kDefaultSortByExe;          // order by executable name
  bool sortByCaption = kDefaultSortByCaption;  // order by caption (within the executable's entries when both)
  bool editorMode = kDefaultEditorMode;        // the editor's windows first, showing their open folders
  // A window's own icon first (see IconLookup); off gives the class's small icon, else the file
  // type's icon.
  bool windowIcon = kDefaultWindowIcon;
  ExcludeRules exclude;       // executable file names left out
  ExcludeRules excludeClass;  // class names of root windows left out
};

}  // namespace tasklist
