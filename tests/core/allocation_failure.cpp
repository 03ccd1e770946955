#include "allocation_failure.h"

#include <cstdlib>
#include <new>

namespace {
long countdown = -1;
bool paused = false;

// The allocation that the countdown picks fails; any other is malloc's.
void *allocate(std::size_t size) {
  if (!paused && countdown >= 0 && countdown-- == 0)
    return nullptr;
  return std::malloc(size ? size : 1);
}
} // namespace

namespace fake {

void fail_allocation_after(long successes) { countdown = successes; }
bool allocation_failure_pending() { return countdown >= 0; }
void pause_allocation_failure(bool pause) { paused = pause; }

} // namespace fake

// Every form of the global operator new, so that each allocation (nothrow
// ones included: std::stable_sort asks for its buffer so) can fail, and none
// is paired with another allocator's delete.
void *operator new(std::size_t size) {
  if (void *memory = allocate(size))
    return memory;
  throw std::bad_alloc();
}
void *operator new[](std::size_t size) { return operator new(size); }
void *operator new(std::size_t size, const std::nothrow_t &) noexcept {
  return allocate(size);
}
void *operator new[](std::size_t size, const std::nothrow_t &) noexcept {
  return allocate(size);
}

void operator delete(void *memory) noexcept { std::free(memory); }
void operator delete(void *memory, std::size_t) noexcept { std::free(memory); }
void operator delete[](void *memory) noexcept { std::free(memory); }
void operator delete[](void *memory, std::size_t) noexcept {
  std::free(memory);
}
void operator delete(void *memory, const std::nothrow_t &) noexcept {
  std::free(memory);
}
void operator delete[](void *memory, const std::nothrow_t &) noexcept {
  std::free(memory);
}
