// The lookups that cannot change within one refresh of the task list: the executable path of a
// process, and the shell icon of a path. Each refresh makes its own, so every refresh still
// reflects the windows of that moment; nothing outlives it.
#pragma once

#include "tasklist/NUnit.h"
#include "tasklist/TaskIcon.h"

#include <map>
#include <string>

namespace tasklist {

class RefreshLookups {
 public:
  // Throws as GetProcessExePath does, at the first lookup.
  const std::string& ExePath(DWORD processId) {
    auto found = paths_.find(processId);
    if (found == paths_.end()) found = paths_.emplace(processId, GetProcessExePath(processId)).first;
    return found->second;
  }

  // One shell icon per path, shared by every entry that needs it: its last holder destroys it.
  TaskIcon ShellIcon(const std::string& path) {
    auto found = icons_.find(path);
    if (found == icons_.end()) found = icons_.emplace(path, TaskIcon::Owned(GetFileIcon(path, false))).first;
    return found->second;
  }

 private:
  std::map<DWORD, std::string> paths_;
  std::map<std::string, TaskIcon> icons_;
};

}  // namespace tasklist
