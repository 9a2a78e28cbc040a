#include "tasklist/ExcludeRules.h"

#include "base/AsciiText.h"

namespace tasklist {

ExcludeRules::ExcludeRules(std::string_view list, LeadByteTest isLeadByte) : isLeadByte_(isLeadByte) {
  size_t start = 0;
  for (size_t i = 0; i <= list.size(); i += i < list.size() ? CharLength(list, i) : 1) {
    if (i < list.size() && list[i] != ';') continue;
    const std::string_view pattern = base::TrimBlanks(list.substr(start, i - start));
    if (!pattern.empty()) patterns_.push_back(base::LowerAsciiChars(pattern, isLeadByte_));
    start = i + 1;
  }
}

bool ExcludeRules::Matches(std::string_view name) const {
  if (patterns_.empty()) return false;  // the usual case: nothing to fold the name for
  const std::string lower = base::LowerAsciiChars(name, isLeadByte_);
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
    } else if (p < pattern.size() && CharLength(pattern, p) == length &&
               pattern.compare(p, length, name, n, length) == 0) {
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
