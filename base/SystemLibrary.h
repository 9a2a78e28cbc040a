// Libraries of the system, loaded from the system folder only. A bare name is looked for in the
// host's own folder first, so a file of that name planted there would run inside the host.
#pragma once

#include "base/Handle.h"

namespace base {

// Null when the system folder has no such library (or it cannot be loaded).
[[nodiscard]] unique_hmodule LoadSystemLibrary(const char* name);

}  // namespace base
