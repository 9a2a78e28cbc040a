// Conversions between 8-bit text in the system's ANSI code page and UTF-16.
#pragma once

#include <string>
#include <string_view>

namespace base {

std::wstring WidenAnsi(std::string_view text);
// As the system narrows a window's text: a character the code page lacks becomes its nearest
// equivalent or '?'. `flags` are WideCharToMultiByte's (WC_NO_BEST_FIT_CHARS: '?' only).
std::string NarrowToAnsi(std::wstring_view text, unsigned long flags = 0);

}  // namespace base
