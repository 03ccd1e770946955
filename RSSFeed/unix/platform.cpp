// POSIX platform layer: /proc/self/exe, a sorted directory listing and dlopen.
#include "platform.h"

#include <dirent.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <cxxabi.h>
#include <memory>
#include <vector>

namespace tavrel::platform {

const char kPathSeparator = '/';

namespace {

constexpr char kLibrarySuffix[] = ".so";

bool has_library_suffix(const char *name) {
  std::size_t length = std::strlen(name);
  std::size_t suffix = sizeof kLibrarySuffix - 1;
  return length >= suffix &&
         std::memcmp(name + length - suffix, kLibrarySuffix, suffix) == 0;
}

EntryKind kind_of(mode_t mode) {
  if (S_ISREG(mode))
    return EntryKind::file;
  return S_ISDIR(mode) ? EntryKind::directory : EntryKind::other;
}

// Links are followed: a link to a directory is a directory. An entry that
// cannot be examined (a dangling link) is left to the load to report.
EntryKind kind_of(int folder, const dirent &entry) {
  switch (entry.d_type) {
  case DT_REG:
    return EntryKind::file;
  case DT_DIR:
    return EntryKind::directory;
  case DT_LNK:
  case DT_UNKNOWN:
    break;
  default:
    return EntryKind::other;
  }
  struct stat status;
  if (fstatat(folder, entry.d_name, &status, 0) != 0)
    return EntryKind::file;
  return kind_of(status.st_mode);
}

} // namespace

bool executable_path(char *buffer, std::size_t size) {
  ssize_t length = readlink("/proc/self/exe", buffer, size);
  if (length <= 0 || static_cast<std::size_t>(length) >= size)
    return false;
  buffer[length] = '\0';
  return true;
}

// The directory order of POSIX file systems is arbitrary; the listing is taken
// whole and sorted by name, so that which plug-in keeps a shared key is the
// same on every machine.
struct Search {
  struct Entry {
    std::string name;
    EntryKind kind;
  };
  std::vector<Entry> entries;
  std::size_t next = 0;
};

Search *open_search(const char *folder) {
  std::unique_ptr<DIR, int (*)(DIR *)> directory(opendir(folder), closedir);
  if (!directory)
    return nullptr;
  auto search = std::make_unique<Search>();
  while (const dirent *entry = readdir(directory.get())) {
    if (!has_library_suffix(entry->d_name))
      continue;
    search->entries.push_back(
        {entry->d_name, kind_of(dirfd(directory.get()), *entry)});
  }
  if (search->entries.empty())
    return nullptr;
  std::sort(search->entries.begin(), search->entries.end(),
            [](const auto &a, const auto &b) { return a.name < b.name; });
  return search.release();
}

bool next_entry(Search *search, DirectoryEntry &entry) {
  if (search->next == search->entries.size())
    return false;
  const Search::Entry &next = search->entries[search->next++];
  entry.name = next.name.c_str();
  entry.kind = next.kind;
  return true;
}

void close_search(Search *search) { delete search; }

std::string describe(const LoadError &error) {
  return error.text ? error.text : "unknown dlopen failure";
}

LibraryHandle load_library(const char *path, LoadError &error) {
  void *library = dlopen(path, RTLD_NOW | RTLD_LOCAL);
  if (!library)
    error.text = dlerror();
  return library;
}

Proc find_symbol(LibraryHandle library, const char *name) {
  return reinterpret_cast<Proc>(dlsym(library, name));
}

void unload_library(LibraryHandle library) { dlclose(library); }

// A cancelled thread's unwinding is a foreign exception with no object, which
// the catch below binds by reference to rethrow it; UBSan would report that
// binding as a null reference.
__attribute__((no_sanitize("null"))) bool run_guarded(void (*body)(void *),
                                                      void *context) {
  try {
    body(context);
    return true;
  } catch (abi::__forced_unwind &) {
    throw; // thread cancellation must go on unwinding
  } catch (...) {
    return false;
  }
}

} // namespace tavrel::platform
