// Where the plug-in's settings live: beside the library, under its name.
#pragma once

#include <string>
#include <string_view>

namespace plugin {

// The library's path with its extension replaced by ".ini", or ".ini" appended when it has none.
// The second byte of a double-byte character is never taken for a '.', '\\' or ':'.
[[nodiscard]] std::string SettingsFileName(std::string_view libraryPath);

}  // namespace plugin
