#include "plugin/LibraryPath.h"

#include "base/Module.h"

#include <windows.h>

namespace plugin {
namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// GetModuleFileNameA cuts a name that does not fit and returns the buffer's size; such a name is
// read again into a bigger buffer. Empty when the call fails.
std::string ThisModuleFileName() {
  std::string path(MAX_PATH, '\0');
  for (;;) {
    const DWORD length = ::GetModuleFileNameA(base::ThisModule(), path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

}  // namespace

bool IsFullPath(std::string_view path) {
  // Every byte tested is ASCII and at most one character from the start, so none is a trail byte.
  const bool drivePath = path.size() >= 3 && IsAsciiLetter(path[0]) && path[1] == ':' && IsSeparator(path[2]);
  const bool uncPath = path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1]);
  return drivePath || uncPath;
}

std::string LibraryPath(const std::string& hostFileName) {
  return IsFullPath(hostFileName) ? hostFileName : ThisModuleFileName();
}

}  // namespace plugin
