#include "plugin/IniSections.h"

#include "base/AsciiText.h"
#include "plugin/IniInteger.h"

namespace plugin {
namespace {

// Cuts the next line off `text`; CR, LF and CR LF each end one line.
std::string_view TakeLine(std::string_view& text) {
  const size_t end = text.find_first_of("\r\n");
  const std::string_view line = text.substr(0, end);
  if (end == std::string_view::npos) {
    text = {};
  } else {
    text.remove_prefix(text.compare(end, 2, "\r\n") == 0 ? end + 2 : end + 1);
  }
  return line;
}

bool IsHeader(std::string_view line) { return line.size() >= 2 && line.front() == '[' && line.back() == ']'; }

}  // namespace

IniSections::IniSections(std::string_view text, UpperCase upperCase) : upperCase_(upperCase) {
  text = text.substr(0, text.find('\0'));
  Keys* current = nullptr;  // lines before the first header belong nowhere
  while (!text.empty()) {
    const std::string_view line = base::TrimBlanks(TakeLine(text));
    if (line.empty() || line.front() == ';') continue;
    if (IsHeader(line)) {
      // A repeated name starts over, so only the last section of that name is seen.
      current = &sections_[upperCase_(std::string(base::TrimBlanks(line.substr(1, line.size() - 2))))];
      current->clear();
      continue;
    }
    const size_t equals = line.find('=');
    if (current == nullptr || equals == std::string_view::npos) continue;
    const std::string key = upperCase_(std::string(base::TrimBlanks(line.substr(0, equals))));
    (*current)[key] = std::string(base::TrimBlanks(line.substr(equals + 1)));
  }
}

const std::string* IniSections::Find(std::string_view section, std::string_view key) const {
  const auto keys = sections_.find(upperCase_(std::string(section)));
  if (keys == sections_.end()) return nullptr;
  const auto value = keys->second.find(upperCase_(std::string(key)));
  return value == keys->second.end() ? nullptr : &value->second;
}

int32_t IniSections::ReadInteger(std::string_view section, std::string_view key, int32_t defaultValue) const {
  const std::string* value = Find(section, key);
  return value ? ParseIniInteger(*value).value_or(defaultValue) : defaultValue;
}

bool IniSections::ReadBool(std::string_view section, std::string_view key, bool defaultValue) const {
  return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

std::string IniSections::ReadString(std::string_view section, std::string_view key,
                                    const std::string& defaultValue) const {
  const std::string* value = Find(section, key);
  return value ? *value : defaultValue;
}

}  // namespace plugin
