#include "base/Module.h"

#include "base/Handle.h"

#include <memory>
#include <utility>

namespace base {
namespace {

struct ThreadStart {
  std::function<void()> work;
  HMODULE module = nullptr;  // the thread's reference
};

// The work and what it holds are let go before the module's reference.
DWORD WINAPI RunHoldingModule(void* parameter) {
  HMODULE module = nullptr;
  {
    const std::unique_ptr<ThreadStart> start(static_cast<ThreadStart*>(parameter));
    module = start->module;
    try {
      start->work();
    } catch (...) {  // nothing crosses the thread's edge
    }
  }
  ::FreeLibraryAndExitThread(module, 0);
}

}  // namespace

HINSTANCE ThisModule() {
  HMODULE module = nullptr;
  ::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&ThisModule), &module);
  return module;
}

void KeepThisModuleLoaded() {
  HMODULE module = nullptr;
  ::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                       reinterpret_cast<LPCSTR>(&KeepThisModuleLoaded), &module);
}

// The reference is taken here, before the thread exists, so that no unload can come between its
// start and its reference.
bool StartModuleThread(std::function<void()> work) {
  auto start = std::make_unique<ThreadStart>();
  start->work = std::move(work);
  if (!::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCSTR>(&RunHoldingModule),
                            &start->module)) {
    return false;
  }
  const unique_kernel_handle thread(::CreateThread(nullptr, 0, &RunHoldingModule, start.get(), 0, nullptr));
  if (!thread) {
    ::FreeLibrary(start->module);
    return false;
  }
  (void)start.release();  // the thread's now
  return true;
}

}  // namespace base
