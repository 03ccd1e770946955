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

bool is_directory(int folder, const dirent &entry) {
  if (entry.d_type != DT_UNKNOWN && entry.d_type != DT_LNK)
    return entry.d_type == DT_DIR;
  struct stat status;
  return fstatat(folder, entry.d_name, &status, 0) == 0 &&
         S_ISDIR(status.st_mode);
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
    bool is_directory;
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
        {entry->d_name, is_directory(dirfd(directory.get()), *entry)});
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
  entry.is_directory = next.is_directory;
  return true;
}

void close_search(Search *search) { delete search; }

LibraryHandle load_library(const char *path, std::string *error) {
  void *library = dlopen(path, RTLD_NOW | RTLD_LOCAL);
  if (!library && error) {
    const char *reason = dlerror();
    *error = reason ? reason : "unknown dlopen failure";
  }
  return library;
}

Proc find_symbol(LibraryHandle library, const char *name) {
  return reinterpret_cast<Proc>(dlsym(library, name));
}

void unload_library(LibraryHandle library) { dlclose(library); }

bool run_guarded(void (*body)(void *), void *context) {
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
