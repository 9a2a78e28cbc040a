#include "base/WideText.h"

#include <windows.h>

namespace base {

std::wstring WidenAnsi(std::string_view text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  std::wstring wide(static_cast<size_t>(::MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0)), L'\0');
  ::MultiByteToWideChar(CP_ACP, 0, text.data(), size, wide.data(), static_cast<int>(wide.size()));
  return wide;
}

std::string NarrowToAnsi(std::wstring_view text, unsigned long flags) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  std::string narrow(
      static_cast<size_t>(::WideCharToMultiByte(CP_ACP, flags, text.data(), size, nullptr, 0, nullptr, nullptr)), '\0');
  ::WideCharToMultiByte(CP_ACP, flags, text.data(), size, narrow.data(), static_cast<int>(narrow.size()), nullptr,
                        nullptr);
  return narrow;
}

}  // namespace base
