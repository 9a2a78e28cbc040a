// The executable path of each running process, read once while the process runs: the read walks
// the process's module list, which costs more than the rest of a refresh's work per process. A
// process is known by its id and its start time, so an id that a new process took is read anew.
// A process whose path could not be read is read again at its next lookup. Processes not looked
// up in a refresh are forgotten at the start of the next one.
#pragma once

#include "tasklist/NUnit.h"

#include <windows.h>

#include <string>
#include <unordered_map>

namespace tasklist {

class ExecutablePaths {
 public:
  // Starts a refresh: forgets the processes that the previous one did not look up.
  void BeginRefresh();
  // The path GetProcessExePath gives for the process, as of its first lookup while it runs; the
  // start time is checked at the first lookup of each refresh. Throws as GetProcessExePath does.
  const std::string& Of(DWORD processId, ExePathReader& reader);

 private:
  struct Entry {
    ULONGLONG started = 0;  // 0 when it could not be read: such an entry is read again each refresh
    std::string path;
    bool lookedUp = false;  // since BeginRefresh
  };
  std::unordered_map<DWORD, Entry> entries_;
};

}  // namespace tasklist
