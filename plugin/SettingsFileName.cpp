#include "plugin/SettingsFileName.h"

#include "base/Mbcs.h"

namespace plugin {

std::string SettingsFileName(std::string_view libraryPath) {
  const size_t last = base::LastDelimiter(libraryPath, ".\\:");
  const bool hasExtension = last != std::string_view::npos && libraryPath[last] == '.';
  return std::string(hasExtension ? libraryPath.substr(0, last) : libraryPath) + ".ini";
}

}  // namespace plugin
