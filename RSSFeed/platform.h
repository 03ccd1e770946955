// The seam between the portable core and the operating system. Each platform
// directory (unix/, win/) implements these functions once; nothing else in the
// core calls the operating system.
#ifndef TAVREL_PLATFORM_H
#define TAVREL_PLATFORM_H

#include <cstddef>
#include <string>

namespace tavrel::platform {

using LibraryHandle = void *;
using Proc = void (*)(void);

// Separator between a folder and a name in a path.
extern const char kPathSeparator;

// Writes the full path of the host process's executable (not of this library)
// as a NUL-terminated text into buffer[0..size). Returns false when the path
// cannot be had or does not fit whole.
bool executable_path(char *buffer, std::size_t size);

enum class EntryKind {
  file,      // a regular file, or a link to one
  directory, // or a link to one
  other,     // anything else: FIFO, socket, device, which a load could hang on
};

struct DirectoryEntry {
  const char *name; // valid until the next call on the search
  EntryKind kind;
};

struct Search;

// Starts listing the entries of folder (a path ending in a separator) whose
// names mark them as plug-in libraries, in the order the scan takes them.
// Returns null when the search cannot start: no folder, no matching entry, or
// any other failure.
Search *open_search(const char *folder);

// Yields the next entry (the first one on the first call); false at the end.
bool next_entry(Search *search, DirectoryEntry &entry);

void close_search(Search *search);

// Why a load failed, as the platform reports it: kept cheaply, put into words
// only on demand. text is valid until the thread's next load.
struct LoadError {
  const char *text = nullptr;
  unsigned long code = 0;
};

std::string describe(const LoadError &error);

// Loads a library by its full path, running its start-up code. Returns null on
// failure, with the reason in error.
LibraryHandle load_library(const char *path, LoadError &error);

// The library's export of that exact name, or null.
Proc find_symbol(LibraryHandle library, const char *name);

// Releases one load of the library, running its clean-up code on the last.
void unload_library(LibraryHandle library);

// Runs body(context) and returns true when it returns normally. Returns false
// when an exception that nobody inside handled ends it early: a C++ exception,
// and on platforms that can catch them, processor faults and system
// exceptions.
bool run_guarded(void (*body)(void *), void *context);

// One word of state per thread, 0 on every new thread. A ThreadMark sets it for
// as long as the mark lives and then puts back the value it replaced, also
// when an exception unwinds past the mark: a C++ exception, and on Windows a
// structured exception that a handler further out takes.
struct ThreadMarkUnwinder;

class ThreadMark {
public:
  explicit ThreadMark(unsigned value);
  ~ThreadMark();
  ThreadMark(const ThreadMark &) = delete;
  ThreadMark &operator=(const ThreadMark &) = delete;

  static unsigned current();

private:
  friend struct ThreadMarkUnwinder;
  // Room for the platform's unwind registration (Win32: an exception
  // registration record), which must live in the marked frame.
  [[maybe_unused]] void *registration_[2];
  unsigned previous_;
};

} // namespace tavrel::platform

#endif
