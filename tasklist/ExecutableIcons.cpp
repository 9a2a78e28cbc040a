#include "tasklist/ExecutableIcons.h"

#include <shellapi.h>

namespace tasklist {
namespace {

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// A UNC name (any name that starts with two backslashes, the safe side), or a drive letter that
// the system maps to a share. Asking a mapped drive's type does not reach the server.
bool IsOnNetwork(const std::string& path) {
  if (path.rfind("\\\\", 0) == 0) return true;
  if (path.size() < 2 || !IsAsciiLetter(path[0]) || path[1] != ':') return false;
  const char root[] = {path[0], ':', '\\', '\0'};
  return ::GetDriveTypeA(root) == DRIVE_REMOTE;
}

// Reading a file on a share that does not answer holds up the host's thread for as long as the
// network takes to give up; such a task gets its file type's icon instead.
TaskIcon ReadIcon(const std::string& path) {
  if (path.empty() || IsOnNetwork(path)) return {};
  HICON icon = nullptr;
  (void)::ExtractIconExA(path.c_str(), 0, nullptr, &icon, 1);
  return TaskIcon::Owned(base::unique_hicon(icon), IconSource::kExecutable);
}

}  // namespace

TaskIcon ExecutableIcons::For(const std::string& path) {
  auto found = icons_.find(path);
  if (found == icons_.end()) found = icons_.emplace(path, ReadIcon(path)).first;
  return found->second;
}

}  // namespace tasklist
