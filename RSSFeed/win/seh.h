// Frame-based structured exception handling on 32-bit x86: handlers are
// records on a per-thread chain whose head the thread information block
// holds, each in the stack frame it guards.
#ifndef TAVREL_WIN_SEH_H
#define TAVREL_WIN_SEH_H

#include <windows.h>

#if !defined(__i386__)
#error "frame-based exception handlers exist on 32-bit x86 only"
#endif

namespace tavrel::platform::seh {

// volatile: every change to the handler chain happens where it is written.
inline volatile NT_TIB *thread_information() {
  return reinterpret_cast<NT_TIB *>(NtCurrentTeb());
}

inline void push(EXCEPTION_REGISTRATION_RECORD &record,
                 PEXCEPTION_ROUTINE handler) {
  record.Handler = handler;
  record.Next = thread_information()->ExceptionList;
  thread_information()->ExceptionList = &record;
}

// record must be the head of the chain.
inline void pop(EXCEPTION_REGISTRATION_RECORD &record) {
  thread_information()->ExceptionList = record.Next;
}

inline bool unwinding(const EXCEPTION_RECORD *exception) {
  return exception->ExceptionFlags &
         (EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND);
}

} // namespace tavrel::platform::seh

#endif
