// Makes the n-th allocation through operator new, from now on, throw
// std::bad_alloc. The core test binary replaces the global operator new.
#ifndef TAVREL_TESTS_ALLOCATION_FAILURE_H
#define TAVREL_TESTS_ALLOCATION_FAILURE_H

namespace fake {

// Fails the allocation after `successes` more successful ones; -1 disarms.
void fail_allocation_after(long successes);
bool allocation_failure_pending();
void pause_allocation_failure(bool paused);

} // namespace fake

#endif
