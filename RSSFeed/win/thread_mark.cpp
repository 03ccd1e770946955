// The thread mark on 32-bit Windows: a TLS slot, allocated once, which never
// allocates on use. A structured exception that a handler further out takes
// unwinds past the mark without running C++ destructors, so each mark also
// registers an exception frame whose handler puts the old value back during
// that unwinding.
#include "platform.h"
#include "seh.h"

namespace tavrel::platform {

// Reaches the mark from its registration record, the first member.
struct ThreadMarkUnwinder {
  static void restore(void *establisher) {
    auto *mark = static_cast<ThreadMark *>(establisher);
    TlsSetValue(slot(), reinterpret_cast<void *>(
                            static_cast<std::uintptr_t>(mark->previous_)));
  }
  static EXCEPTION_REGISTRATION_RECORD &registration(ThreadMark &mark) {
    return *reinterpret_cast<EXCEPTION_REGISTRATION_RECORD *>(
        mark.registration_);
  }
  // Without a slot (TlsAlloc failed) every mark reads 0: calls back into the
  // library are then taken as the host's.
  static DWORD slot() {
    static const DWORD index = TlsAlloc();
    return index;
  }
};

namespace {

static_assert(sizeof(EXCEPTION_REGISTRATION_RECORD) == 2 * sizeof(void *));

EXCEPTION_DISPOSITION NTAPI restore_on_unwind(EXCEPTION_RECORD *exception,
                                              void *establisher, CONTEXT *,
                                              void *) {
  if (seh::unwinding(exception))
    ThreadMarkUnwinder::restore(establisher);
  return ExceptionContinueSearch;
}

void store(unsigned value) {
  TlsSetValue(ThreadMarkUnwinder::slot(),
              reinterpret_cast<void *>(static_cast<std::uintptr_t>(value)));
}

} // namespace

ThreadMark::ThreadMark(unsigned value) : previous_(current()) {
  seh::push(ThreadMarkUnwinder::registration(*this), restore_on_unwind);
  store(value);
}

ThreadMark::~ThreadMark() {
  store(previous_);
  seh::pop(ThreadMarkUnwinder::registration(*this));
}

unsigned ThreadMark::current() {
  return static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(
      TlsGetValue(ThreadMarkUnwinder::slot())));
}

} // namespace tavrel::platform
