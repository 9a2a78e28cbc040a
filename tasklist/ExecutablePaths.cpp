#include "tasklist/ExecutablePaths.h"

#include "base/Handle.h"

namespace tasklist {
namespace {

// 0 when the process cannot be opened (ended, or above us) or the system has no limited rights
// (before Vista), for which the full query rights are tried.
ULONGLONG StartTimeOf(DWORD processId) {
  base::unique_kernel_handle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
  if (!process) process.reset(::OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, processId));
  FILETIME created{}, exited{}, kernel{}, user{};
  if (!process || !::GetProcessTimes(process.get(), &created, &exited, &kernel, &user)) return 0;
  return (static_cast<ULONGLONG>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
}

}  // namespace

void ExecutablePaths::BeginRefresh() {
  for (auto entry = entries_.begin(); entry != entries_.end();) {
    if (entry->second.lookedUp) {
      entry->second.lookedUp = false;
      ++entry;
    } else {
      entry = entries_.erase(entry);
    }
  }
}

const std::string& ExecutablePaths::Of(DWORD processId, ExePathReader& reader) {
  Entry& entry = entries_[processId];
  if (entry.lookedUp) return entry.path;
  const ULONGLONG started = StartTimeOf(processId);
  // An empty path is not kept: a process read while it starts may not list its modules yet.
  if (!started || started != entry.started || entry.path.empty()) {
    entry.path = reader.Of(processId);
    entry.started = started;
  }
  entry.lookedUp = true;
  return entry.path;
}

}  // namespace tasklist
