// EnumWindows with a C++ callable. An exception thrown by the callable stops the enumeration and
// is rethrown after EnumWindows has returned, so it never unwinds through the platform's frames.
#pragma once

#include <windows.h>

#include <exception>
#include <type_traits>

namespace base {

namespace detail {

template <typename Visit>
struct EnumContext {
  Visit& visit;
  std::exception_ptr error;
};

template <typename Visit>
BOOL CALLBACK EnumThunk(HWND wnd, LPARAM param) {
  auto& context = *reinterpret_cast<EnumContext<Visit>*>(param);
  try {
    return context.visit(wnd) ? TRUE : FALSE;
  } catch (...) {
    context.error = std::current_exception();
    return FALSE;
  }
}

}  // namespace detail

// visit(HWND) returns true to go on, false to stop.
template <typename Visit>
void EnumTopLevelWindows(Visit&& visit) {
  detail::EnumContext<std::remove_reference_t<Visit>> context{visit, nullptr};
  ::EnumWindows(&detail::EnumThunk<std::remove_reference_t<Visit>>, reinterpret_cast<LPARAM>(&context));
  if (context.error) std::rethrow_exception(context.error);
}

}  // namespace base
