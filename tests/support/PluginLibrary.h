// The real plug-in DLL beside the test program, loaded the way the host loads it, with its six
// exports. Freed on destruction unless a test has freed it already.
#pragma once

#include "base/Handle.h"
#include "plugin/Exports.h"

#include <string>

namespace testing_support {

class PluginLibrary {
 public:
  PluginLibrary();

  bool Loaded() const { return static_cast<bool>(library_); }
  HMODULE Module() const { return library_.get(); }
  // FreeLibrary, as the host does after MVREvent_Unload.
  void Free() { library_.reset(); }

  std::string path;
  plugin::InitPluginInfoFn initPluginInfo = nullptr;
  plugin::FreePluginInfoFn freePluginInfo = nullptr;
  plugin::InitFn init = nullptr;
  plugin::UnloadFn unload = nullptr;
  plugin::ExecuteFn execute = nullptr;
  plugin::WindowsHookFn windowsHook = nullptr;

 private:
  template <typename Function>
  Function Export(const char* name) const {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(library_.get(), name)));
  }

  base::unique_hmodule library_;
};

}  // namespace testing_support
