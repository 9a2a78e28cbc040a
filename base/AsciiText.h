// Text rules that go by ASCII bytes alone, the same in every code page, and so free of the
// platform (the settings parser and the exclusion rules also build natively for fuzzing).
#pragma once

#include <string>
#include <string_view>

namespace base {

// Spaces, tabs and other control bytes; a double-byte blank is text.
inline bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 0x20; }

inline std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// ASCII letters lower-cased byte by byte. No lead byte of a double-byte code page is an ASCII
// letter, so character boundaries stay where they were; a trail byte that looks like a letter is
// folded too, alike on both sides of a comparison.
inline std::string LowerAscii(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return lower;
}

}  // namespace base
