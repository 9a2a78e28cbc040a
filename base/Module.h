// The module (DLL or program) that this code is linked into.
#pragma once

#include <windows.h>

#include <functional>

namespace base {

HINSTANCE ThisModule();

// Pins the module in memory until the process ends, whatever FreeLibrary calls follow.
void KeepThisModuleLoaded();

// Runs `work` on a thread of its own that holds a reference to this module, taken before the
// thread starts and given back by FreeLibraryAndExitThread: an unload while the thread still runs
// neither waits for it nor frees the code it runs. False when the thread could not start; `work`
// then never runs. An exception of `work` ends the thread quietly.
[[nodiscard]] bool StartModuleThread(std::function<void()> work);

}  // namespace base
