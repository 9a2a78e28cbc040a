// Chooses a task's icon, first found in this order: the window's own icon; its class's small
// icon, then the class's icon; the executable's own first icon; the icon of the file's type.
// Without window icons, the choice is the class's small icon, else the type's icon. Lives for one
// refresh: the icons made for an executable path are made once and shared by its tasks.
#pragma once

#include "tasklist/TaskIcon.h"
#include "tasklist/WindowIconQuery.h"

#include <windows.h>

#include <map>
#include <string>

namespace tasklist {

class IconLookup {
 public:
  explicit IconLookup(bool windowIcons) : windowIcons_(windowIcons) {}

  TaskIcon For(HWND wnd, const std::string& exePath);

 private:
  TaskIcon ExecutableIcon(const std::string& exePath);
  TaskIcon FileTypeIcon(const std::string& exePath);

  bool windowIcons_;
  WindowIconQuery windowQuery_;
  std::map<std::string, TaskIcon> executableIcons_;
  std::map<std::string, TaskIcon> fileTypeIcons_;
};

}  // namespace tasklist
