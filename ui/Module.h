// The module (DLL or program) that this code is linked into.
#pragma once

#include <windows.h>

namespace ui {

HINSTANCE ThisModule();

}  // namespace ui
