// Makes this program's loading of one library fail, as on a system that lacks it: the product is
// linked into the test program, so its import of LoadLibraryExA is the program's. Every other
// library loads as usual. Restored on destruction; one at a time.
#pragma once

#include "tests/support/ImportPatch.h"

#include <windows.h>

namespace testing_support {

class LibraryFailure {
 public:
  // `fileName` without a folder; `beforeFailing`, when given, runs at each failed load.
  explicit LibraryFailure(const char* fileName, void (*beforeFailing)() = nullptr);
  LibraryFailure(const LibraryFailure&) = delete;
  LibraryFailure& operator=(const LibraryFailure&) = delete;

 private:
  ImportPatch patch_;
};

}  // namespace testing_support
