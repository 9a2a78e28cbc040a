// The menu's images of the tasks' icons, kept from one popup to the next: an icon is copied when
// it is new to the menu and its item is about to be drawn (or the open menu is idle), and its
// image is dropped once no task of a popup shows it. Every popup still asks every window for its
// icon; only copying the same icon again is spared.
//
// An image is kept for the window, its process and the icon handle it answered: a window that
// changed its icon answers another handle, and a window handle that the system gave out again to
// another process comes with that process's id.
#pragma once

#include "base/Handle.h"

#include <windows.h>

#include <map>
#include <tuple>
#include <vector>

namespace taskmenu {

struct TaskImageKey {
  HWND window = nullptr;
  DWORD processId = 0;
  HICON icon = nullptr;

  bool operator<(const TaskImageKey& other) const {
    return std::tie(window, processId, icon) < std::tie(other.window, other.processId, other.icon);
  }
};

class TaskImages {
 public:
  // What Update gives a task whose icon is new to the menu: Add copies it when it is needed.
  static constexpr int kPending = -2;

  // The image list of `iconSize` square images, made anew when the size changed (another DPI):
  // every icon is then copied again. Throws base::Error when the list cannot be made.
  HIMAGELIST Begin(int iconSize);

  // The images of one popup's tasks, in their order: -1 for a task without an icon, kPending for
  // one whose icon is not in the list yet. Nothing is copied here. Tasks that show one icon handle
  // share its image. Images that none of them shows are dropped; their places take the next new
  // icons.
  std::vector<int> Update(const std::vector<TaskImageKey>& tasks);
  // The image of an icon of the last popup's tasks: the one kept for the task or for its icon
  // handle, else the icon copied into a place none of them shows; -1 when it could not be copied
  // (the icon is gone).
  int Add(const TaskImageKey& task);

 private:
  // Copies the icon into the first place not taken; -1 when it could not be copied.
  int Copy(HICON icon);
  void Keep(const TaskImageKey& task, int image);

  base::unique_himagelist list_;
  int iconSize_ = 0;
  // Of the last popup; within it no icon is made, so equal handles are the same icon.
  std::map<TaskImageKey, int> images_;
  std::map<HICON, int> imageOfIcon_;
  std::vector<bool> taken_;
};

}  // namespace taskmenu
