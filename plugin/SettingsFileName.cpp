#include "plugin/SettingsFileName.h"

#include "ui/Mbcs.h"

namespace plugin {

std::string SettingsFileName(std::string_view libraryPath) {
  const size_t last = ui::LastDelimiter(libraryPath, ".\\:");
  const bool hasExtension = last != std::string_view::npos && libraryPath[last] == '.';
  return std::string(hasExtension ? libraryPath.substr(0, last) : libraryPath) + ".ini";
}

}  // namespace plugin
