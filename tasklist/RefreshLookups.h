// The lookups that cannot change within one refresh of the task list: the executable path of a
// process, the icons made for an executable path, and what the shell says of store apps. Each
// refresh makes its own, so every refresh still reflects the windows of that moment; only the
// executables' paths (checked against each process's start time), their own icons and their
// types', and the store apps seen, which the collection keeps, outlive it.
#pragma once

#include "tasklist/ExecutablePaths.h"
#include "tasklist/IconLookup.h"
#include "tasklist/NUnit.h"
#include "tasklist/StoreApps.h"
#include "tasklist/TaskIcon.h"
#include "tasklist/TaskList.h"

#include <string>

namespace tasklist {

class RefreshLookups {
 public:
  // `iconSize`: of the menu's icons, by its monitor's DPI.
  RefreshLookups(const TaskListOptions& options, KeptLookups& kept, int iconSize)
      : paths_(kept.executablePaths),
        icons_(options, kept.executableIcons, iconSize),
        storeApps_(kept.storeApps),
        iconSize_(iconSize) {
    paths_.BeginRefresh();
    kept.executableIcons.BeginRefresh();
  }

  // Throws as GetProcessExePath does.
  const std::string& ExePath(DWORD processId) { return paths_.Of(processId, pathReader_); }

  // The icon of a task whose window is `wnd`, of the executable at `path`.
  TaskIcon Icon(HWND wnd, const std::string& path) { return icons_.For(wnd, path); }

  // For a task whose root is a store app's frame window, shown by the frame host at `hostPath`:
  // its app's executable when the app is open, else the one it had when seen open while the
  // collection lives, else the frame host's. Throws as ExePath does.
  std::string FrameExePath(HWND frame, const std::string& hostPath);
  // Its app's image when one came at an earlier popup; else, until the image comes, the frame's
  // own icon, else the frame host's executable or file type icon.
  TaskIcon FrameIcon(HWND wnd, HWND frame, const std::string& hostPath);
  const std::wstring& AppIdOf(HWND frame) { return storeApps_.IdOf(frame); }
  // Whether the window answered a message of this refresh.
  bool Answered(HWND wnd) const { return icons_.Answered(wnd); }
  // Whether the window's icon ask went unanswered in this refresh.
  bool Unanswered(HWND wnd) const { return icons_.Unanswered(wnd); }

 private:
  ExecutablePaths& paths_;
  ExePathReader pathReader_;  // the process status library, loaded for this refresh only
  IconLookup icons_;
  StoreAppLookup storeApps_;
  int iconSize_;  // of the store apps' images
};

}  // namespace tasklist
