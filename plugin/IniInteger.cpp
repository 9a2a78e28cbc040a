#include "plugin/IniInteger.h"

#include "base/AsciiText.h"

namespace plugin {
namespace {

using base::StartsWith;

constexpr int64_t kInt32Limit = int64_t{1} << 31;  // magnitude of INT32_MIN
constexpr int64_t kUint32Limit = int64_t{1} << 32;

int DigitValue(char c, int base) {
  int value = base;
  if (c >= '0' && c <= '9') value = c - '0';
  else if (c >= 'a' && c <= 'f') value = c - 'a' + 10;
  else if (c >= 'A' && c <= 'F') value = c - 'A' + 10;
  return value < base ? value : -1;
}

// The digits as a non-negative number below `limit`; nothing when empty, not digits or too big.
// Leading zeros are allowed, so the length of the text is no bound on its value.
std::optional<int64_t> ParseDigits(std::string_view digits, int base, int64_t limit) {
  if (digits.empty()) return std::nullopt;
  int64_t value = 0;
  for (const char c : digits) {
    const int digit = DigitValue(c, base);
    if (digit < 0) return std::nullopt;
    value = value * base + digit;
    if (value >= limit) return std::nullopt;
  }
  return value;
}

std::optional<int32_t> ParseHex(std::string_view digits) {
  const std::optional<int64_t> bits = ParseDigits(digits, 16, kUint32Limit);
  if (!bits) return std::nullopt;
  return static_cast<int32_t>(*bits >= kInt32Limit ? *bits - kUint32Limit : *bits);
}

std::optional<int32_t> ParseDecimal(std::string_view text) {
  const bool negative = StartsWith(text, "-");
  if (negative || StartsWith(text, "+")) text.remove_prefix(1);
  // One more than the largest magnitude, which only a negative number may reach.
  const std::optional<int64_t> magnitude = ParseDigits(text, 10, kInt32Limit + (negative ? 1 : 0));
  if (!magnitude) return std::nullopt;
  return static_cast<int32_t>(negative ? -*magnitude : *magnitude);
}

}  // namespace

std::optional<int32_t> ParseIniInteger(std::string_view text) {
  for (const std::string_view prefix : {"0x", "0X", "$", "x", "X"}) {
    if (StartsWith(text, prefix)) return ParseHex(text.substr(prefix.size()));
  }
  return ParseDecimal(text);
}

}  // namespace plugin
