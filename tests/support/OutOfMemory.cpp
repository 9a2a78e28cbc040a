#include "tests/support/OutOfMemory.h"

#include <cstdlib>
#include <new>

namespace testing_support {

bool failAllocations = false;

OutOfMemory::OutOfMemory() { StartOutOfMemory(); }

OutOfMemory::~OutOfMemory() { EndOutOfMemory(); }

void StartOutOfMemory() { failAllocations = true; }

void EndOutOfMemory() { failAllocations = false; }

}  // namespace testing_support

void* operator new(std::size_t size) {
  void* block = testing_support::failAllocations ? nullptr : std::malloc(size ? size : 1);
  if (!block) throw std::bad_alloc();
  return block;
}
void operator delete(void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
