#include "plugin/SettingsText.h"

#include "base/AsciiText.h"

#include <cstdint>

namespace plugin {
namespace {

using base::StartsWith;

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";
constexpr char16_t kReplacement = 0xFFFD;
constexpr char32_t kFirstSurrogate = 0xD800;
constexpr char32_t kFirstLowSurrogate = 0xDC00;
constexpr char32_t kLastSurrogate = 0xDFFF;
constexpr char32_t kFirstSupplementary = 0x10000;
constexpr char32_t kLastCodePoint = 0x10FFFF;

// The multi-byte forms of UTF-8 by their lead bytes; `minimum` rules out overlong forms.
struct Utf8Form {
  uint8_t firstLead;
  uint8_t lastLead;
  uint8_t leadBits;
  size_t length;
  char32_t minimum;
};
constexpr Utf8Form kUtf8Forms[] = {
    {0xC2, 0xDF, 0x1F, 2, 0x80}, {0xE0, 0xEF, 0x0F, 3, 0x800}, {0xF0, 0xF4, 0x07, 4, kFirstSupplementary}};

uint8_t ByteAt(std::string_view bytes, size_t i) { return static_cast<uint8_t>(bytes[i]); }

std::u16string DecodeUtf16(std::string_view bytes, bool bigEndian) {
  std::u16string text;
  text.reserve(bytes.size() / 2 + 1);
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const uint8_t high = ByteAt(bytes, bigEndian ? i : i + 1);
    const uint8_t low = ByteAt(bytes, bigEndian ? i + 1 : i);
    text.push_back(static_cast<char16_t>(high << 8 | low));
  }
  if (bytes.size() % 2 != 0) text.push_back(kReplacement);
  return text;
}

struct Utf8Sequence {
  char32_t codePoint = 0;
  size_t length = 0;  // 0: no well-formed sequence starts here
};

Utf8Sequence ReadUtf8(std::string_view bytes, size_t i) {
  const uint8_t lead = ByteAt(bytes, i);
  if (lead < 0x80) return {lead, 1};
  for (const Utf8Form& form : kUtf8Forms) {
    if (lead < form.firstLead || lead > form.lastLead) continue;
    if (bytes.size() - i < form.length) return {};
    char32_t codePoint = lead & form.leadBits;
    for (size_t k = 1; k < form.length; ++k) {
      const uint8_t next = ByteAt(bytes, i + k);
      if ((next & 0xC0) != 0x80) return {};
      codePoint = codePoint << 6 | (next & 0x3F);
    }
    const bool surrogate = codePoint >= kFirstSurrogate && codePoint <= kLastSurrogate;
    if (codePoint < form.minimum || codePoint > kLastCodePoint || surrogate) return {};
    return {codePoint, form.length};
  }
  return {};
}

std::u16string DecodeUtf8(std::string_view bytes) {
  std::u16string text;
  text.reserve(bytes.size());
  for (size_t i = 0; i < bytes.size();) {
    const Utf8Sequence sequence = ReadUtf8(bytes, i);
    if (sequence.length == 0) {
      text.push_back(kReplacement);
      ++i;
      continue;
    }
    if (sequence.codePoint < kFirstSupplementary) {
      text.push_back(static_cast<char16_t>(sequence.codePoint));
    } else {
      const char32_t offset = sequence.codePoint - kFirstSupplementary;
      text.push_back(static_cast<char16_t>(kFirstSurrogate + (offset >> 10)));
      text.push_back(static_cast<char16_t>(kFirstLowSurrogate + (offset & 0x3FF)));
    }
    i += sequence.length;
  }
  return text;
}

}  // namespace

std::string SettingsText(std::string_view bytes, WideToAnsi toAnsi) {
  if (StartsWith(bytes, kUtf8Mark)) return toAnsi(DecodeUtf8(bytes.substr(kUtf8Mark.size())));
  if (StartsWith(bytes, kUtf16LeMark)) return toAnsi(DecodeUtf16(bytes.substr(kUtf16LeMark.size()), false));
  if (StartsWith(bytes, kUtf16BeMark)) return toAnsi(DecodeUtf16(bytes.substr(kUtf16BeMark.size()), true));
  return std::string(bytes);
}

}  // namespace plugin
