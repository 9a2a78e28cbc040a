#include "tests/support/LibraryFailure.h"

#include <cstring>
#include <stdexcept>

namespace testing_support {
namespace {

// The import slot leads to the function below, which has no object to reach.
decltype(&::LoadLibraryExA) realLoadLibraryExA;
const char* failingName = nullptr;
void (*failureHook)() = nullptr;

// Whether `name`, bare or a full path, names the failing library.
bool IsFailing(const char* name) {
  const char* separator = std::strrchr(name, '\\');
  return ::lstrcmpiA(separator ? separator + 1 : name, failingName) == 0;
}

HMODULE WINAPI FailOneLibrary(LPCSTR name, HANDLE file, DWORD flags) {
  if (!IsFailing(name)) return realLoadLibraryExA(name, file, flags);
  if (failureHook) failureHook();
  ::SetLastError(ERROR_MOD_NOT_FOUND);
  return nullptr;
}

}  // namespace

LibraryFailure::LibraryFailure(const char* fileName, void (*beforeFailing)())
    : patch_(::GetModuleHandleA(nullptr), "kernel32.dll", "LoadLibraryExA", reinterpret_cast<void*>(&FailOneLibrary)) {
  if (!patch_.Original()) throw std::runtime_error("the program does not import LoadLibraryExA");
  realLoadLibraryExA = reinterpret_cast<decltype(realLoadLibraryExA)>(patch_.Original());
  failingName = fileName;
  failureHook = beforeFailing;
}

}  // namespace testing_support
