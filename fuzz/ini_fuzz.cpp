// libFuzzer target for the settings file's parser and number forms, built natively on Linux
// (scripts/fuzz.sh). The input is the file's text; every value found is also checked against an
// independent reading of the number forms.
#include "plugin/IniInteger.h"
#include "plugin/IniSections.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

namespace {

// The platform upper-cases by the ANSI code page; ASCII is enough to drive the lookup here.
std::string UpperCaseAscii(std::string name) {
  for (char& c : name) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return name;
}

bool AllOf(std::string_view text, const char* set) {
  return !text.empty() && text.find_first_not_of(set) == std::string_view::npos;
}

// The number forms read through strtoll/strtoull, as a second opinion.
std::optional<int32_t> Reference(std::string_view text) {
  constexpr const char* kHexDigits = "0123456789abcdefABCDEF";
  for (const std::string_view prefix : {"0x", "0X", "$", "x", "X"}) {
    if (text.substr(0, prefix.size()) != prefix) continue;
    const std::string digits(text.substr(prefix.size()));
    if (!AllOf(digits, kHexDigits)) return std::nullopt;
    errno = 0;
    const unsigned long long bits = std::strtoull(digits.c_str(), nullptr, 16);
    if (errno == ERANGE || bits > UINT32_MAX) return std::nullopt;
    return static_cast<int32_t>(static_cast<uint32_t>(bits));
  }
  const std::string_view digits = text.substr(!text.empty() && (text[0] == '+' || text[0] == '-') ? 1 : 0);
  if (!AllOf(digits, "0123456789")) return std::nullopt;
  errno = 0;
  const long long value = std::strtoll(std::string(text).c_str(), nullptr, 10);
  if (errno == ERANGE || value < INT32_MIN || value > INT32_MAX) return std::nullopt;
  return static_cast<int32_t>(value);
}

void CheckNumber(std::string_view text) {
  if (plugin::ParseIniInteger(text) != Reference(text)) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  CheckNumber(text);

  const plugin::IniSections sections(text, &UpperCaseAscii);
  for (const char* key : {"MenuFixPos", "X_pos", "Y_pos", "Sort", "VNE", "SortTitle", "AutoHotKey"}) {
    if (const std::string* value = sections.Find("global", key)) CheckNumber(*value);
    (void)sections.ReadBool("GLOBAL", key, true);
  }
  return 0;
}
