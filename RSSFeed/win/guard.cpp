// The guard around the scan on 32-bit Windows: a frame-based structured
// exception handler, registered on the thread's handler chain for the length
// of the scan, plus a C++ catch for the library's own exceptions (a failed
// allocation).
//
// Being frame-based, the handler is asked only after every handler the
// plug-in registered itself has declined, and only for this thread. It
// unwinds the frames registered inside the scan (which lets each clean up)
// and jumps back to the guard, skipping the code frames in between. Those
// frames hold nothing that needs a destructor: the scan keeps its state
// outside the guarded call (see scan.cpp). The jump also skips any unwinding
// that the C++ run-time would do, which is sound because this library's C++
// exceptions unwind with DWARF tables and register nothing on the chain; the
// set-jump/long-jump exception model registers a record in every frame with
// a destructor, which the jump would leave behind.
#include "platform.h"
#include "seh.h"

#if defined(__USING_SJLJ_EXCEPTIONS__)
#error "the scan guard needs DWARF or SEH unwinding, not SJLJ"
#endif

namespace tavrel::platform {
namespace {

struct GuardFrame {
  // The registration record the handler receives as its establisher frame.
  EXCEPTION_REGISTRATION_RECORD registration;
  void *resume[5]; // __builtin_setjmp buffer
};

EXCEPTION_DISPOSITION NTAPI end_scan(EXCEPTION_RECORD *exception,
                                     void *establisher, CONTEXT *, void *) {
  if (seh::unwinding(exception))
    return ExceptionContinueSearch;
  auto *frame = static_cast<GuardFrame *>(establisher);
  // Lets the handlers registered inside the scan clean up and drops them, so
  // that the chain's head is this guard's record again.
  RtlUnwind(establisher, nullptr, exception, nullptr);
  __builtin_longjmp(frame->resume, 1);
}

bool run_catching(void (*body)(void *), void *context) {
  try {
    body(context);
    return true;
  } catch (...) {
    return false;
  }
}

} // namespace

bool run_guarded(void (*body)(void *), void *context) {
  GuardFrame frame;
  if (__builtin_setjmp(frame.resume)) {
    seh::pop(frame.registration);
    return false;
  }
  seh::push(frame.registration, end_scan);
  bool completed = run_catching(body, context);
  seh::pop(frame.registration);
  return completed;
}

} // namespace tavrel::platform
