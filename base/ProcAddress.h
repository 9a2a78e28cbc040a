// Functions that not every version of the platform has, looked up at run time.
#pragma once

#include <windows.h>

namespace base {

// The exported function `name` of `module` as a `Function`; null when the module or the
// function is missing.
template <typename Function>
[[nodiscard]] Function ProcAddress(HMODULE module, const char* name) {
  if (!module) return nullptr;
  return reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

}  // namespace base
