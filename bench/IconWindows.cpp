#include "bench/IconWindows.h"

#include <stdexcept>
#include <string>

namespace bench {
namespace {

constexpr char kClass[] = "SwivoBenchIconWindow";

}  // namespace

void IconWindows::Open(int count) {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = &::DefWindowProcA;
  windowClass.lpszClassName = kClass;
  ::RegisterClassA(&windowClass);  // fails harmlessly from the second size on
  const HICON system = ::LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_INFORMATION));
  for (int i = 0; i < count; ++i) {
    const std::string caption = "bench icon window " + std::to_string(windows_.size() + 1);
    icons_.emplace_back(::CopyIcon(system));
    windows_.emplace_back(::CreateWindowExA(0, kClass, caption.c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 160,
                                            80, nullptr, nullptr, nullptr, nullptr));
    if (!icons_.back() || !windows_.back()) throw std::runtime_error("cannot open a window with an icon of its own");
    ::SendMessageA(windows_.back().get(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icons_.back().get()));
  }
}

}  // namespace bench
