// The guard around the scan on 32-bit Windows: a frame-based structured
// exception handler, registered on the thread's handler chain for the length
// of the scan, plus a C++ catch for the library's own exceptions (a failed
// allocation).
//
// Being frame-based, the handler is asked only after every handler the
// plug-in registered itself has declined, and only for this thread. It
// unwinds the frames registered inside the scan and jumps back to the guard.
// The frames it skips hold nothing that needs a destructor: the scan keeps
// its state outside the guarded call (see scan.cpp).
#include <windows.h>

#include "platform.h"

#if !defined(__i386__)
#error "the scan guard registers an x86 exception frame"
#endif

namespace tavrel::platform {
namespace {

struct GuardFrame {
  // The registration record the handler receives as its establisher frame.
  EXCEPTION_REGISTRATION_RECORD registration;
  void *resume[5]; // __builtin_setjmp buffer
};

// volatile: every change to the handler chain happens where it is written.
volatile NT_TIB *thread_information() {
  return reinterpret_cast<NT_TIB *>(NtCurrentTeb());
}

EXCEPTION_DISPOSITION NTAPI end_scan(EXCEPTION_RECORD *exception,
                                     void *establisher, CONTEXT *, void *) {
  if (exception->ExceptionFlags & (EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND))
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
  frame.registration.Handler = end_scan;
  frame.registration.Next = thread_information()->ExceptionList;
  if (__builtin_setjmp(frame.resume)) {
    thread_information()->ExceptionList = frame.registration.Next;
    return false;
  }
  thread_information()->ExceptionList = &frame.registration;
  bool completed = run_catching(body, context);
  thread_information()->ExceptionList = frame.registration.Next;
  return completed;
}

} // namespace tavrel::platform
