// How typed text and the texts it is looked for in are made alike: full-width ASCII as ASCII and
// ASCII capitals as small letters, one UTF-16 unit for one, so that a position found in a folded
// text is the same position in the text as shown. No other character is folded.
#pragma once

#include <string>
#include <string_view>

namespace base {

inline constexpr wchar_t kFullWidthExclamation = 0xFF01;  // '!' of the full-width block
inline constexpr wchar_t kFullWidthTilde = 0xFF5E;        // its last character, '~'
inline constexpr wchar_t kIdeographicSpace = 0x3000;

inline wchar_t FoldForFinding(wchar_t c) {
  if (c >= kFullWidthExclamation && c <= kFullWidthTilde) c = static_cast<wchar_t>(c - kFullWidthExclamation + L'!');
  else if (c == kIdeographicSpace) c = L' ';
  return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

inline std::wstring FoldForFinding(std::wstring_view text) {
  std::wstring folded(text);
  for (wchar_t& c : folded) c = FoldForFinding(c);
  return folded;
}

}  // namespace base
