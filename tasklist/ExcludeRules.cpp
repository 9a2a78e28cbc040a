#include "tasklist/ExcludeRules.h"

namespace tasklist {
namespace {

// Spaces, tabs and other control bytes, as the settings reader trims them.
bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 0x20; }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// Byte by byte, as TWinInfo::ExeName is kept (base::LowerAscii, which the native fuzz build
// lacks): a trail byte that looks like a letter folds on both sides alike. No lead byte is an
// ASCII letter, so character boundaries stay where they were.
std::string LowerAscii(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return lower;
}

}  // namespace

ExcludeRules::ExcludeRules(std::string_view list, LeadByteTest isLeadByte) : isLeadByte_(isLeadByte) {
  size_t start = 0;
  for (size_t i = 0; i <= list.size(); i += i < list.size() ? CharLength(list, i) : 1) {
    if (i < list.size() && list[i] != ';') continue;
    const std::string_view pattern = Trim(list.substr(start, i - start));
    if (!pattern.empty()) patterns_.push_back(LowerAscii(pattern));
    start = i + 1;
  }
}

bool ExcludeRules::Matches(std::string_view name) const {
  if (patterns_.empty()) return false;  // the usual case: nothing to fold the name for
  const std::string lower = LowerAscii(name);
  for (const std::string& pattern : patterns_) {
    if (Matches(pattern, lower)) return true;
  }
  return false;
}

// A lead byte at the very end, cut off from its trail byte, counts as a character of its own.
size_t ExcludeRules::CharLength(std::string_view text, size_t at) const {
  return isLeadByte_(text[at]) && at + 1 < text.size() ? 2 : 1;
}

// Walks both by whole characters; on a mismatch the last '*' takes one more character of the
// name and the pattern resumes after it.
bool ExcludeRules::Matches(std::string_view pattern, std::string_view name) const {
  size_t p = 0;
  size_t n = 0;
  size_t star = std::string_view::npos;
  size_t resume = 0;
  while (n < name.size()) {
    const size_t length = CharLength(name, n);
    if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      resume = n;
    } else if (p < pattern.size() && CharLength(pattern, p) == length && pattern.compare(p, length, name, n, length) == 0) {
      p += length;
      n += length;
    } else if (star != std::string_view::npos) {
      p = star + 1;
      resume += CharLength(name, resume);
      n = resume;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

}  // namespace tasklist
