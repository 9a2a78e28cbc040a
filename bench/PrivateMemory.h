// The process's private memory, read two ways: the system's counter (PrivateUsage) and the sum of
// committed private regions found by walking the address space, which needs no counter that a
// compatibility layer might leave at 0.
#pragma once

#include <windows.h>

namespace bench {

struct PrivateMemory {
  SIZE_T privateUsage = 0;     // GetProcessMemoryInfo
  SIZE_T committedPrivate = 0; // VirtualQuery: MEM_COMMIT and MEM_PRIVATE
};

PrivateMemory ReadPrivateMemory();

}  // namespace bench
