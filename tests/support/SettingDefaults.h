// The settings table's defaults as the settings file writes them, to compare files and fresh
// objects with.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

namespace testing_support {

// A switch as 0 or 1, a number in decimal, text as it is.
std::string SettingText(bool value);
std::string SettingText(int32_t value);
std::string SettingText(std::string_view value);

// Every key of the table with its default.
std::map<std::string, std::string> SettingDefaultsAsText();

}  // namespace testing_support
