// Replaces entries of a module's import address table, so that a test can count what the code
// under test creates and destroys (Wine's own handle counters are stubs). Restored on destruction.
#pragma once

#include <windows.h>

#include <functional>

namespace testing_support {

class ImportPatch {
 public:
  // Patches `function` of `dll` as imported by `module`; Original() is null when it is not imported.
  ImportPatch(HMODULE module, const char* dll, const char* function, void* replacement);
  ImportPatch(const ImportPatch&) = delete;
  ImportPatch& operator=(const ImportPatch&) = delete;
  ~ImportPatch();

  void* Original() const { return original_; }

 private:
  void** slot_ = nullptr;
  void* original_ = nullptr;
};

// Calls `visit(dll, function, slot)` for every function `module` imports by name, until it returns true.
void ForEachImport(HMODULE module, const std::function<bool(const char*, const char*, void**)>& visit);

}  // namespace testing_support
