// The lookups that cannot change within one refresh of the task list: the executable path of a
// process, and the icons made for an executable path. Each refresh makes its own, so every
// refresh still reflects the windows of that moment; only the executables' own icons, which the
// collection keeps, outlive it.
#pragma once

#include "tasklist/IconLookup.h"
#include "tasklist/NUnit.h"
#include "tasklist/TaskIcon.h"

#include <map>
#include <string>

namespace tasklist {

class RefreshLookups {
 public:
  RefreshLookups(const TaskListOptions& options, ExecutableIcons& executableIcons) : icons_(options, executableIcons) {}

  // Throws as GetProcessExePath does, at the first lookup.
  const std::string& ExePath(DWORD processId) {
    auto found = paths_.find(processId);
    if (found == paths_.end()) found = paths_.emplace(processId, GetProcessExePath(processId)).first;
    return found->second;
  }

  // The icon of a task whose window is `wnd`, of the executable at `path`.
  TaskIcon Icon(HWND wnd, const std::string& path) { return icons_.For(wnd, path); }

 private:
  std::map<DWORD, std::string> paths_;
  IconLookup icons_;
};

}  // namespace tasklist
