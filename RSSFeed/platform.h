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

struct DirectoryEntry {
  const char *name; // valid until the next call on the search
  bool is_directory;
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

// Loads a library by its full path, running its start-up code. Returns null on
// failure and, when error is given, stores the platform's reason there.
LibraryHandle load_library(const char *path, std::string *error);

// The library's export of that exact name, or null.
Proc find_symbol(LibraryHandle library, const char *name);

// Releases one load of the library.
void unload_library(LibraryHandle library);

// Runs body(context) and returns true when it returns normally. Returns false
// when an exception that nobody inside handled ends it early: a C++ exception,
// and on platforms that can catch them, processor faults and system
// exceptions.
bool run_guarded(void (*body)(void *), void *context);

} // namespace tavrel::platform

#endif
