// The first icon of each executable file, read once per version of the file while the task
// collection lives: a read can hold up the host's thread for seconds (a sleeping disk, a share
// that went away), while the file's last-write time, which an update of the program changes, is
// cheap to ask, once per refresh and file. A file that gave no icon is remembered too.
// Likewise the icon of each file's type, for the files without one of their own: made once, it
// keeps its handle, so that the menu does not copy its image again at every popup. The icons are
// shared with the entries that show them (see TaskIcon).
#pragma once

#include "tasklist/TaskIcon.h"

#include <map>
#include <set>
#include <string>
#include <utility>

namespace tasklist {

class ExecutableIcons {
 public:
  // Starts a refresh: each file is asked for its write time, and whether it lies on the network,
  // at its first lookup in the refresh.
  void BeginRefresh() { checked_.clear(); }
  // The first icon of the file at `path`, small or `large`; empty when it has none, when `path`
  // is empty, or when the file lies on the network, which is never read.
  TaskIcon For(const std::string& path, bool large = false);
  // The icon the shell shows for the type of the file at `path`, small or `large`.
  TaskIcon TypeIconOf(const std::string& path, bool large);

 private:
  using Key = std::pair<std::string, bool>;
  struct KnownIcon {
    ULONGLONG written = 0;  // the file's last-write time when it was read
    TaskIcon icon;
  };
  std::map<Key, KnownIcon> icons_;
  std::set<Key> checked_;  // in this refresh
  std::map<Key, TaskIcon> typeIcons_;
};

}  // namespace tasklist
