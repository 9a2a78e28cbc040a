// The module (DLL or program) that this code is linked into.
#pragma once

#include <windows.h>

namespace base {

HINSTANCE ThisModule();

// Pins the module in memory until the process ends, whatever FreeLibrary calls follow.
void KeepThisModuleLoaded();

}  // namespace base
