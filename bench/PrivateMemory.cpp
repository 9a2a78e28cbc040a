#include "bench/PrivateMemory.h"

#include <psapi.h>

namespace bench {

PrivateMemory ReadPrivateMemory() {
  PrivateMemory memory;
  PROCESS_MEMORY_COUNTERS_EX counters{};
  counters.cb = sizeof(counters);
  if (::GetProcessMemoryInfo(::GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                             sizeof(counters))) {
    memory.privateUsage = counters.PrivateUsage;
  }
  SYSTEM_INFO system{};
  ::GetSystemInfo(&system);
  auto* address = static_cast<BYTE*>(system.lpMinimumApplicationAddress);
  MEMORY_BASIC_INFORMATION region{};
  while (address < system.lpMaximumApplicationAddress && ::VirtualQuery(address, &region, sizeof(region))) {
    if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) memory.committedPrivate += region.RegionSize;
    address = static_cast<BYTE*>(region.BaseAddress) + region.RegionSize;
  }
  return memory;
}

}  // namespace bench
