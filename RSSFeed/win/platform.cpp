// Win32 platform layer: GetModuleFileNameA, FindFirstFileA and LoadLibraryA.
#include <windows.h>

#include <cstring>
#include <memory>

#include "platform.h"

namespace tavrel::platform {

const char kPathSeparator = '\\';

namespace {

constexpr char kLibraryPattern[] = "*.dll";
constexpr std::size_t kPatternCapacity = 1024;

} // namespace

std::string describe(const LoadError &error) {
  DWORD code = static_cast<DWORD>(error.code);
  char *text = nullptr;
  DWORD length = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
          FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<char *>(&text), 0, nullptr);
  std::string message =
      length ? std::string(text, length) : "error " + std::to_string(code);
  LocalFree(text);
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r'))
    message.pop_back();
  return message;
}

bool executable_path(char *buffer, std::size_t size) {
  DWORD length = GetModuleFileNameA(nullptr, buffer, static_cast<DWORD>(size));
  // A result that fills the buffer may have been cut short.
  return length != 0 && length < size;
}

struct Search {
  HANDLE handle;
  WIN32_FIND_DATAA data;
  bool data_pending;
};

Search *open_search(const char *folder) {
  char pattern[kPatternCapacity] = {};
  std::size_t length = std::strlen(folder);
  if (length + sizeof kLibraryPattern > sizeof pattern)
    return nullptr;
  std::memcpy(pattern, folder, length);
  std::memcpy(pattern + length, kLibraryPattern, sizeof kLibraryPattern);

  auto search = std::make_unique<Search>();
  search->handle = FindFirstFileA(pattern, &search->data);
  if (search->handle == INVALID_HANDLE_VALUE)
    return nullptr;
  search->data_pending = true;
  return search.release();
}

bool next_entry(Search *search, DirectoryEntry &entry) {
  if (!search->data_pending && !FindNextFileA(search->handle, &search->data))
    return false;
  search->data_pending = false;
  entry.name = search->data.cFileName;
  const DWORD attributes = search->data.dwFileAttributes;
  entry.kind = attributes & FILE_ATTRIBUTE_DIRECTORY ? EntryKind::directory
               : attributes & FILE_ATTRIBUTE_DEVICE  ? EntryKind::other
                                                     : EntryKind::file;
  return true;
}

void close_search(Search *search) {
  FindClose(search->handle);
  delete search;
}

LibraryHandle load_library(const char *path, LoadError &error) {
  HMODULE library = LoadLibraryA(path);
  if (!library)
    error.code = GetLastError();
  return library;
}

Proc find_symbol(LibraryHandle library, const char *name) {
  return reinterpret_cast<Proc>(
      GetProcAddress(static_cast<HMODULE>(library), name));
}

void unload_library(LibraryHandle library) {
  FreeLibrary(static_cast<HMODULE>(library));
}

} // namespace tavrel::platform
