#include "tests/support/ImportPatch.h"

#include <cstring>

namespace testing_support {
namespace {

void WriteSlot(void** slot, void* value) {
  DWORD oldProtection = 0;
  ::VirtualProtect(slot, sizeof(void*), PAGE_READWRITE, &oldProtection);
  *slot = value;
  ::VirtualProtect(slot, sizeof(void*), oldProtection, &oldProtection);
}

void** FindSlot(HMODULE module, const char* dll, const char* function) {
  void** found = nullptr;
  ForEachImport(module, [&](const char* importDll, const char* name, void** slot) {
    if (::lstrcmpiA(importDll, dll) == 0 && std::strcmp(name, function) == 0) found = slot;
    return found != nullptr;
  });
  return found;
}

}  // namespace

void ForEachImport(HMODULE module, const std::function<bool(const char*, const char*, void**)>& visit) {
  auto* base = reinterpret_cast<BYTE*>(module);
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  if (!imports.VirtualAddress) return;
  for (auto* descriptor = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
       descriptor->Name; ++descriptor) {
    const auto* dll = reinterpret_cast<const char*>(base + descriptor->Name);
    auto* names = reinterpret_cast<const IMAGE_THUNK_DATA*>(base + descriptor->OriginalFirstThunk);
    auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + descriptor->FirstThunk);
    for (; names->u1.AddressOfData; ++names, ++slots) {
      if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
      const auto* byName = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
      if (visit(dll, reinterpret_cast<const char*>(byName->Name), reinterpret_cast<void**>(&slots->u1.Function))) {
        return;
      }
    }
  }
}

ImportPatch::ImportPatch(HMODULE module, const char* dll, const char* function, void* replacement)
    : slot_(FindSlot(module, dll, function)) {
  if (!slot_) return;
  original_ = *slot_;
  WriteSlot(slot_, replacement);
}

ImportPatch::~ImportPatch() {
  if (slot_) WriteSlot(slot_, original_);
}

}  // namespace testing_support
