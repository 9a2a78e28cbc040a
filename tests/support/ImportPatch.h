// Replaces entries of a module's import address table, so that a test can count what the code
// under test creates and destroys (Wine's own handle counters are stubs). Restored on destruction.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

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

// The names of every function `module` imports by name, from whichever library.
std::vector<std::string> ImportedFunctions(HMODULE module);

}  // namespace testing_support
