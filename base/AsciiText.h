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

// Byte by byte: a whole text as the prefix can only match where a character starts.
inline bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

inline char LowerAsciiLetter(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// ASCII letters lower-cased byte by byte. No lead byte of a double-byte code page is an ASCII
// letter, so character boundaries stay where they were; but a trail byte that looks like a letter
// is folded too, so two different characters may come out alike (the executable names' order
// keeps this rule).
inline std::string LowerAscii(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = LowerAsciiLetter(c);
  return lower;
}

// ASCII letters lower-cased character by character: the trail byte of a double-byte character is
// never folded, so two different characters never match. A lead byte at the very end is a
// character of its own.
template <typename LeadByteTest>
std::string LowerAsciiChars(std::string_view text, LeadByteTest isLeadByte) {
  std::string lower(text);
  for (size_t i = 0; i < lower.size(); ++i) {
    if (isLeadByte(lower[i])) ++i;
    else lower[i] = LowerAsciiLetter(lower[i]);
  }
  return lower;
}

}  // namespace base
