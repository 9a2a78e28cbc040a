#include "tests/support/SettingDefaults.h"

#include "plugin/SettingsTable.h"

namespace testing_support {

std::string SettingText(bool value) { return value ? "1" : "0"; }
std::string SettingText(int32_t value) { return std::to_string(value); }
std::string SettingText(std::string_view value) { return std::string(value); }

std::map<std::string, std::string> SettingDefaultsAsText() {
  std::map<std::string, std::string> defaults;
  plugin::ForEachSetting(
      [&](const auto& setting) { defaults.emplace(setting.key, SettingText(setting.defaultValue)); });
  return defaults;
}

}  // namespace testing_support
