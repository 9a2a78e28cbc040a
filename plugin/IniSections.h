// The settings file's text, parsed into sections of keys and looked up without regard to letter
// case. Free of the platform: the caller supplies the upper-casing of names, which on Windows
// follows the ANSI code page (CharUpperBuffA), so that this also builds natively.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

namespace plugin {

class IniSections {
 public:
  // Returns the name in upper case; must not change its meaning otherwise.
  using UpperCase = std::string (*)(std::string name);

  // No sections: every lookup gives the caller's default.
  explicit IniSections(UpperCase upperCase) : upperCase_(upperCase) {}
  // Reads the text up to its first NUL. Of sections sharing a name only the last one counts, and
  // within it the last occurrence of a key.
  IniSections(std::string_view text, UpperCase upperCase);

  // The trimmed value text, or nullptr when the section or the key is missing.
  [[nodiscard]] const std::string* Find(std::string_view section, std::string_view key) const;
  // The value read as ParseIniInteger reads it, or `defaultValue` when missing or not a number.
  [[nodiscard]] int32_t ReadInteger(std::string_view section, std::string_view key, int32_t defaultValue) const;
  // An integer (default 1 for true, 0 for false) that is true when not 0.
  [[nodiscard]] bool ReadBool(std::string_view section, std::string_view key, bool defaultValue) const;
  // The trimmed value text, or `defaultValue` when missing.
  [[nodiscard]] std::string ReadString(std::string_view section, std::string_view key,
                                       const std::string& defaultValue) const;

 private:
  using Keys = std::map<std::string, std::string>;  // upper-cased key -> value

  UpperCase upperCase_;
  std::map<std::string, Keys> sections_;  // upper-cased section name -> its keys
};

}  // namespace plugin
