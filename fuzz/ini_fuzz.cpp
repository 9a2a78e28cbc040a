// libFuzzer target for the settings file's decoding, parser, number forms and exclusion patterns,
// built natively on Linux (scripts/fuzz.sh). The input is the file's bytes; text after a
// byte-order mark is checked by encoding it again, every value found against an independent
// reading of the number forms, and the exclusion lists by letter case and a catch-all pattern.
#include "plugin/IniInteger.h"
#include "plugin/IniSections.h"
#include "plugin/SettingsTable.h"
#include "plugin/SettingsText.h"
#include "tasklist/ExcludeRules.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>

namespace {

constexpr char16_t kReplacement = 0xFFFD;

// The platform upper-cases by the ANSI code page; ASCII is enough to drive the lookup here.
std::string UpperCaseAscii(std::string name) {
  for (char& c : name) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return name;
}

// What the reader decoded, kept for the check; the stand-in for the code page keeps ASCII and
// makes the rest '?', its default character.
std::optional<std::u16string> decoded;
std::string KeepAscii(std::u16string_view text) {
  decoded.emplace(text);
  std::string ansi;
  for (const char16_t c : text) ansi.push_back(c < 0x80 ? static_cast<char>(c) : '?');
  return ansi;
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | c >> 6));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | c >> 12));
    out.push_back(static_cast<char>(0x80 | (c >> 6 & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | c >> 18));
    out.push_back(static_cast<char>(0x80 | (c >> 12 & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c >> 6 & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

// UTF-8 of the text; a lone surrogate, which decoding UTF-8 never yields, aborts.
std::string EncodeUtf8(std::u16string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    const char32_t c = text[i];
    if (c < 0xD800 || c > 0xDFFF) {
      AppendUtf8(out, c);
    } else if (c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      AppendUtf8(out, 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00));
    } else {
      std::abort();
    }
  }
  return out;
}

std::string EncodeUtf16(std::u16string_view text, bool bigEndian) {
  std::string out;
  for (const char16_t c : text) {
    const char high = static_cast<char>(c >> 8);
    const char low = static_cast<char>(c & 0xFF);
    out += bigEndian ? std::string{high, low} : std::string{low, high};
  }
  return out;
}

// Text after a mark must encode back to the bytes it came from; for UTF-8 only when nothing was
// replaced, for UTF-16 up to a lone last byte.
void CheckDecoding(std::string_view bytes, std::string_view text) {
  const bool utf8 = bytes.substr(0, 3) == "\xEF\xBB\xBF";
  const bool utf16 = bytes.substr(0, 2) == "\xFF\xFE" || bytes.substr(0, 2) == "\xFE\xFF";
  if (!utf8 && !utf16) {
    if (decoded || text != bytes) std::abort();
    return;
  }
  if (!decoded || text.size() != decoded->size()) std::abort();
  if (utf8) {
    if (decoded->find(kReplacement) == std::u16string::npos && EncodeUtf8(*decoded) != bytes.substr(3)) std::abort();
    return;
  }
  std::u16string units = *decoded;
  std::string_view payload = bytes.substr(2);
  if (payload.size() % 2 != 0) {
    if (units.empty() || units.back() != kReplacement) std::abort();
    units.pop_back();
    payload.remove_suffix(1);
  }
  if (EncodeUtf16(units, bytes[0] == '\xFE') != payload) std::abort();
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

// Lead bytes of code page 932, which the platform's IsDBCSLeadByte gives on a Japanese system.
bool IsShiftJisLeadByte(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// ASCII letters upper-cased character by character: a double-byte character's trail byte is no
// letter, and folding it would make another character.
std::string UpperCaseSingleByteLetters(std::string text) {
  for (size_t i = 0; i < text.size(); ++i) {
    if (IsShiftJisLeadByte(text[i])) ++i;
    else if (text[i] >= 'a' && text[i] <= 'z') text[i] = static_cast<char>(text[i] - 'a' + 'A');
  }
  return text;
}

// A list matches without regard to the case of single-byte letters, and a '*' pattern put first
// matches anything (put last, a lead byte ending the list would take its ';').
void CheckExclusions(const std::string& list, std::string_view name) {
  const tasklist::ExcludeRules rules(list, &IsShiftJisLeadByte);
  if (rules.Matches(name) != rules.Matches(UpperCaseSingleByteLetters(std::string(name)))) std::abort();
  if (!tasklist::ExcludeRules(" * ;" + list, &IsShiftJisLeadByte).Matches(name)) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  CheckNumber(bytes);

  decoded.reset();
  const std::string text = plugin::SettingsText(bytes, &KeepAscii);
  CheckDecoding(bytes, text);

  const plugin::IniSections sections(text, &UpperCaseAscii);
  plugin::ForEachSetting([&](const auto& setting) {
    if constexpr (std::is_same_v<decltype(setting.defaultValue), std::string_view>) {
      const std::string list = sections.ReadString(plugin::kSettingsSection, setting.key, "");
      CheckExclusions(list, list);
      CheckExclusions(list, bytes.substr(0, 64));
    } else {
      if (const std::string* value = sections.Find("global", setting.key)) CheckNumber(*value);
      (void)sections.ReadBool(plugin::kSettingsSection, setting.key, true);
    }
  });
  return 0;
}
