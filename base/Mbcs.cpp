#include "base/Mbcs.h"

#include <windows.h>

namespace base {

bool IsLeadByte(char c) { return ::IsDBCSLeadByte(static_cast<BYTE>(c)) != FALSE; }

size_t LastDelimiter(std::string_view text, std::string_view delimiters) {
  size_t found = std::string_view::npos;
  for (size_t i = 0; i < text.size(); ++i) {
    if (IsLeadByte(text[i])) {
      ++i;  // the trail byte is part of this character
    } else if (delimiters.find(text[i]) != std::string_view::npos) {
      found = i;
    }
  }
  return found;
}

size_t FindOnBoundary(std::string_view text, std::string_view word, size_t from) {
  if (word.empty()) return std::string_view::npos;
  for (size_t i = 0; i < text.size(); i += IsLeadByte(text[i]) ? 2 : 1) {
    if (i >= from && text.substr(i, word.size()) == word) return i;
  }
  return std::string_view::npos;
}

std::string ExtractFileName(std::string_view path) {
  const size_t separator = LastDelimiter(path, "\\:");
  return std::string(separator == std::string_view::npos ? path : path.substr(separator + 1));
}

std::string WithoutLoneLeadByte(std::string text) {
  size_t i = 0;
  while (i + 1 < text.size()) i += IsLeadByte(text[i]) ? 2 : 1;
  if (i + 1 == text.size() && IsLeadByte(text[i])) text.pop_back();
  return text;
}

}  // namespace base
