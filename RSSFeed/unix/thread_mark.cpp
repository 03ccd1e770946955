// The thread mark on POSIX: a thread-local word. Initial-exec TLS lives in
// the thread's static block, so reading and writing it never allocates, even
// in a thread that starts after the library was loaded. C++ unwinding runs
// the mark's destructor, so no further registration is needed.
#include "platform.h"

namespace tavrel::platform {
namespace {

__attribute__((tls_model("initial-exec"))) thread_local unsigned mark = 0;

} // namespace

ThreadMark::ThreadMark(unsigned value) : previous_(mark) { mark = value; }

ThreadMark::~ThreadMark() { mark = previous_; }

unsigned ThreadMark::current() { return mark; }

} // namespace tavrel::platform
