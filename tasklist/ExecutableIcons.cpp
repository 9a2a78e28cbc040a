#include "tasklist/ExecutableIcons.h"

#include "base/AsciiText.h"
#include "tasklist/NUnit.h"

#include <shellapi.h>

namespace tasklist {
namespace {

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// What a drive letter stands for, as the object namespace names it: "\Device\HarddiskVolume2",
// "\Device\Mup\;LanmanRedirector\;Z:0000...\server\share", "\??\UNC\server\share" (a subst).
// Reading the link asks no driver and no server; asking the drive's type does ask the mount
// manager, which stalls emulated 32-bit processes under Wine.
std::string DeviceOf(char drive) {
  const char name[] = {drive, ':', '\0'};
  char target[MAX_PATH * 2] = {};
  if (!::QueryDosDeviceA(name, target, sizeof(target))) return {};
  return target;
}

// The devices of the network redirectors: the multiple UNC provider, the Windows network's,
// WebDAV's and the other providers' ("...Rdr"), whose drive links carry a ";X:" session part.
bool IsRedirected(const std::string& device) {
  return base::StartsWith(device, "\\Device\\Mup") || base::StartsWith(device, "\\??\\UNC\\") ||
         device.find("Redirector") != std::string::npos || device.find("Rdr\\") != std::string::npos ||
         device.find("\\;") != std::string::npos;
}

// A UNC name (any name that starts with two backslashes, the safe side), or a drive letter that
// stands for a share.
bool IsOnNetwork(const std::string& path) {
  if (base::StartsWith(path, "\\\\")) return true;
  if (path.size() < 2 || !IsAsciiLetter(path[0]) || path[1] != ':') return false;
  return IsRedirected(DeviceOf(path[0]));
}

// 0 when the file cannot be asked; the attributes come from the file system's directory entry,
// without opening the file.
ULONGLONG LastWriteOf(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return 0;
  return (static_cast<ULONGLONG>(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
}

TaskIcon IconOf(const std::string& path, bool large) {
  HICON icon = nullptr;
  (void)::ExtractIconExA(path.c_str(), 0, large ? &icon : nullptr, large ? nullptr : &icon, 1);
  return TaskIcon::Owned(base::unique_hicon(icon), IconSource::kExecutable);
}

}  // namespace

// A changed file's icon replaces the one read before; the entries that still show that one keep
// it until they let go.
TaskIcon ExecutableIcons::For(const std::string& path, bool large) {
  if (path.empty()) return {};
  const Key key{path, large};
  const bool firstInRefresh = checked_.insert(key).second;
  const auto known = icons_.find(key);
  if (known != icons_.end() && !firstInRefresh) return known->second.icon;
  KnownIcon& icon = icons_[key];
  if (IsOnNetwork(path)) {
    icon = {};
  } else if (const ULONGLONG written = LastWriteOf(path); known == icons_.end() || icon.written != written) {
    icon = {written, IconOf(path, large)};
  }
  return icon.icon;
}

TaskIcon ExecutableIcons::TypeIconOf(const std::string& path, bool large) {
  const Key key{path, large};
  auto found = typeIcons_.find(key);
  if (found == typeIcons_.end()) {
    found = typeIcons_.emplace(key, TaskIcon::Owned(GetFileIcon(path, large), IconSource::kFileType)).first;
  }
  return found->second;
}

}  // namespace tasklist
