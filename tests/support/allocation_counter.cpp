// Replaces the global allocation functions of the test program with counting ones.
#include "tests/support/allocation_counter.h"

#include <cstdlib>
#include <new>

namespace {
thread_local std::size_t allocations = 0;
}

void* operator new(std::size_t size) {
  ++allocations;
  if (void* memory = std::malloc(size ? size : 1)) return memory;
  throw std::bad_alloc();
}
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }

namespace dorovev::testing {

std::size_t allocation_count() noexcept { return allocations; }

}  // namespace dorovev::testing
