#include "tests/support/CloakStandIn.h"

#include "tools/common/CloakMark.h"

#include <cstring>
#include <map>
#include <stdexcept>

namespace testing_support {
namespace {

constexpr DWORD kCloakedAttribute = 14;  // DWMWA_CLOAKED
constexpr DWORD kCloakedByShell = 2;     // DWM_CLOAKED_SHELL

// The import slot leads to the functions below, which have no object to reach.
decltype(&::GetProcAddress) realGetProcAddress;
int lookups = 0;
std::map<HWND, int> queries;

HRESULT WINAPI StandInGetWindowAttribute(HWND wnd, DWORD attribute, void* value, DWORD size) {
  ++queries[wnd];
  if (attribute != kCloakedAttribute || size != sizeof(DWORD) || !value) return E_NOTIMPL;
  if (!::GetPropA(wnd, kCloakMarkProperty)) return E_NOTIMPL;
  *static_cast<DWORD*>(value) = kCloakedByShell;
  return S_OK;
}

// Only where the system's library has the function, so that its absence still counts.
FARPROC WINAPI StandInGetProcAddress(HMODULE module, LPCSTR name) {
  const FARPROC found = realGetProcAddress(module, name);
  if (!found || IS_INTRESOURCE(name) || std::strcmp(name, "DwmGetWindowAttribute") != 0) return found;
  ++lookups;
  return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(&StandInGetWindowAttribute));
}

}  // namespace

CloakStandIn::CloakStandIn()
    : patch_(::GetModuleHandleA(nullptr), "kernel32.dll", "GetProcAddress",
             reinterpret_cast<void*>(&StandInGetProcAddress)) {
  if (!patch_.Original()) throw std::runtime_error("the program does not import GetProcAddress");
  realGetProcAddress = reinterpret_cast<decltype(realGetProcAddress)>(patch_.Original());
  lookups = 0;
  queries.clear();
}

int CloakStandIn::Lookups() const { return lookups; }

int CloakStandIn::Queries(HWND wnd) const {
  const auto found = queries.find(wnd);
  return found == queries.end() ? 0 : found->second;
}

}  // namespace testing_support
