#include "base/ComScope.h"

#include "base/ProcAddress.h"
#include "base/SystemLibrary.h"

namespace base {

ComScope::ComScope() : ole32_(LoadSystemLibrary("ole32.dll")) {
  const auto initialize = ProcAddress<InitializeFn>(ole32_.get(), "CoInitializeEx");
  uninitialize_ = ProcAddress<UninitializeFn>(ole32_.get(), "CoUninitialize");
  clear_ = ProcAddress<ClearFn>(ole32_.get(), "PropVariantClear");
  if (!initialize || !uninitialize_ || !clear_) return;
  const HRESULT result = initialize(nullptr, COINIT_APARTMENTTHREADED);
  initialised_ = SUCCEEDED(result);
  usable_ = initialised_ || result == RPC_E_CHANGED_MODE;
}

ComScope::~ComScope() {
  if (initialised_) uninitialize_();
}

void ComScope::Clear(PROPVARIANT& value) const {
  if (clear_) (void)clear_(&value);
}

}  // namespace base
