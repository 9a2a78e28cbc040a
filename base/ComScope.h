// COM on the calling thread for one scope. Only a thread of the plug-in's own makes one: the
// host's thread is never made an apartment by us. ole32 comes from the system folder and its
// functions are looked up at run time. The thread is uninitialised on the way out only when this
// scope's CoInitializeEx succeeded (S_OK or S_FALSE): RPC_E_CHANGED_MODE means the thread was
// already of the other apartment kind, and COM is usable as it is.
#pragma once

#include "base/Handle.h"

#include <windows.h>
#include <propidl.h>

namespace base {

class ComScope {
 public:
  ComScope();
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;
  ~ComScope();

  // Whether COM can be used on this thread within the scope.
  [[nodiscard]] bool Usable() const { return usable_; }
  // Releases what a PROPVARIANT holds; nothing when ole32 is missing.
  void Clear(PROPVARIANT& value) const;

 private:
  using InitializeFn = HRESULT(WINAPI*)(void*, DWORD);
  using UninitializeFn = void(WINAPI*)();
  using ClearFn = HRESULT(WINAPI*)(PROPVARIANT*);

  unique_hmodule ole32_;
  UninitializeFn uninitialize_ = nullptr;
  ClearFn clear_ = nullptr;
  bool usable_ = false;
  bool initialised_ = false;
};

}  // namespace base
