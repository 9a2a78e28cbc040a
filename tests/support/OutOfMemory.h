// Makes every allocation of the test program fail for one scope. The program's operator new is
// the one of this support library (a program that defines its own keeps that one instead).
#pragma once

namespace testing_support {

class OutOfMemory {
 public:
  OutOfMemory();
  OutOfMemory(const OutOfMemory&) = delete;
  OutOfMemory& operator=(const OutOfMemory&) = delete;
  ~OutOfMemory();
};

// The same without a scope: from inside the code under test, which then runs short.
void StartOutOfMemory();
void EndOutOfMemory();

}  // namespace testing_support
