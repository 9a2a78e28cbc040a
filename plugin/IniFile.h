// The settings file, read once and whole when opened; there is no way to write it.
#pragma once

#include "plugin/IniSections.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace plugin {

// Files above this size are not settings files; they are refused like unreadable ones.
inline constexpr uint32_t kMaxIniFileSize = 1024 * 1024;

class IniFile {
 public:
  // Loads the file; one that starts with a UTF-8 or UTF-16 byte-order mark is read as that text
  // in the ANSI code page. No file of that name, or a folder of that name, gives no sections. Throws
  // base::Error ("ファイル <name> は開けません") when the file exists but cannot be opened or read,
  // for instance while another program holds it open for writing, or when it is too big.
  explicit IniFile(const std::string& fileName);

  [[nodiscard]] int32_t ReadInteger(std::string_view section, std::string_view key, int32_t defaultValue) const {
    return sections_.ReadInteger(section, key, defaultValue);
  }
  [[nodiscard]] bool ReadBool(std::string_view section, std::string_view key, bool defaultValue) const {
    return sections_.ReadBool(section, key, defaultValue);
  }
  [[nodiscard]] std::string ReadString(std::string_view section, std::string_view key,
                                       const std::string& defaultValue) const {
    return sections_.ReadString(section, key, defaultValue);
  }

 private:
  IniSections sections_;
};

}  // namespace plugin
