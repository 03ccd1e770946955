#include "allocation_failure.h"

#include <cstdlib>
#include <new>

namespace {
long countdown = -1;
bool paused = false;
} // namespace

namespace fake {

void fail_allocation_after(long successes) { countdown = successes; }
bool allocation_failure_pending() { return countdown >= 0; }
void pause_allocation_failure(bool pause) { paused = pause; }

} // namespace fake

void *operator new(std::size_t size) {
  if (!paused && countdown >= 0 && countdown-- == 0)
    throw std::bad_alloc();
  if (void *memory = std::malloc(size ? size : 1))
    return memory;
  throw std::bad_alloc();
}

void operator delete(void *memory) noexcept { std::free(memory); }
void operator delete(void *memory, std::size_t) noexcept { std::free(memory); }
