// The library file that the settings file and the version lookup belong to.
#pragma once

#include <string>
#include <string_view>

namespace plugin {

// A drive path ("C:\..." or "C:/...") or a UNC path ("\\server\..."): no current folder or
// drive takes part in it.
[[nodiscard]] bool IsFullPath(std::string_view path);

// The host's file name when it is a full path. A bare, relative or empty name would be resolved
// against the host's current folder, so our own module's file name is taken instead.
[[nodiscard]] std::string LibraryPath(const std::string& hostFileName);

}  // namespace plugin
