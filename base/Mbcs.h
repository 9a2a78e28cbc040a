// Byte-string helpers for 8-bit text in the system's ANSI code page. In a double-byte code page
// the second byte of a character may look like '\\', ':', '.' or '&'; these helpers never take it
// for one.
#pragma once

#include <string>
#include <string_view>

namespace base {

bool IsLeadByte(char c);

// Position of the last byte that is one of `delimiters` and starts a character; npos if none.
size_t LastDelimiter(std::string_view text, std::string_view delimiters);

// Position of the first occurrence of `word` at or after `from` that starts on a character
// boundary; npos if none.
size_t FindOnBoundary(std::string_view text, std::string_view word, size_t from = 0);

// The part after the last '\\' or ':'; the whole text when it has neither.
std::string ExtractFileName(std::string_view path);

// The text without a lead byte at its end that has lost its trail byte, as a text cut short at a
// byte count may end.
std::string WithoutLoneLeadByte(std::string text);

}  // namespace base
