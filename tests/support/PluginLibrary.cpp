#include "tests/support/PluginLibrary.h"

#include "tests/support/Fixture.h"

namespace testing_support {

PluginLibrary::PluginLibrary() : path(ProgramFolder() + "swivo_p.dll"), library_(::LoadLibraryA(path.c_str())) {
  if (!library_) return;
  initPluginInfo = Export<plugin::InitPluginInfoFn>("MVREvent_InitPluginInfo");
  freePluginInfo = Export<plugin::FreePluginInfoFn>("MVREvent_FreePluginInfo");
  init = Export<plugin::InitFn>("MVREvent_Init");
  unload = Export<plugin::UnloadFn>("MVREvent_Unload");
  execute = Export<plugin::ExecuteFn>("MVREvent_Execute");
  windowsHook = Export<plugin::WindowsHookFn>("MVREvent_WindowsHook");
}

}  // namespace testing_support
