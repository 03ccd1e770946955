#include "scan.h"

#include <cstring>

#include "key_list.h"

namespace tavrel {
namespace {

// Everything the scan needs outside the guarded frames, so that nothing is
// lost when an exception ends the scan early: the search is closed after the
// guard returns, and the path buffers own no memory.
struct ScanState {
  Registry *registry;
  char folder[kPathCapacity];
  char path[kPathCapacity];
  platform::Search *search;
  TavrelResult result;
};

// Appends text to the NUL-terminated contents of buffer[0..kPathCapacity).
// Returns false, leaving the buffer unchanged, when the result would not fit.
bool append(char *buffer, const char *text) {
  std::size_t used = std::strlen(buffer);
  std::size_t extra = std::strlen(text);
  if (used + extra >= kPathCapacity)
    return false;
  std::memcpy(buffer + used, text, extra + 1);
  return true;
}

bool compose_plugin_folder(char *folder) {
  const char separator[] = {platform::kPathSeparator, '\0'};
  std::memset(folder, 0, kPathCapacity);
  return platform::executable_directory(folder, kPathCapacity) &&
         append(folder, kPluginFolderName) && append(folder, separator);
}

bool is_dot_entry(const char *name) {
  return std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0;
}

void scan(void *context) {
  ScanState &state = *static_cast<ScanState *>(context);
  if (!compose_plugin_folder(state.folder)) {
    state.result = E_FAIL;
    return;
  }
  state.search = platform::open_search(state.folder);
  if (!state.search) {
    state.result = S_PLUGIN_NONE;
    return;
  }
  platform::DirectoryEntry entry;
  while (platform::next_entry(state.search, entry)) {
    if (entry.is_directory || is_dot_entry(entry.name))
      continue;
    std::memset(state.path, 0, kPathCapacity);
    if (!append(state.path, state.folder) || !append(state.path, entry.name))
      continue;
    load_plugin_library(*state.registry, state.path);
  }
  state.result = S_OK;
}

void unload_and_discard(Registry &registry, PluginRecord &record) {
  platform::unload_library(record.module);
  registry.discard_load();
}

} // namespace

TavrelResult load_plugin_library(Registry &registry, const char *path) {
  PluginRecord &record = registry.begin_load();
  record.module = platform::load_library(path, nullptr);
  if (!record.module) {
    registry.discard_load();
    return E_FAIL;
  }
  bind_entry_points(record);
  if (!record.GetPluginInfo) {
    unload_and_discard(registry, record);
    return E_FAIL;
  }

  PluginInfo info;
  std::memset(&info, 0, sizeof info);
  info.cbSize = sizeof info;
  if (record.GetPluginInfo(&info) != 0) {
    unload_and_discard(registry, record);
    return E_FAIL;
  }

  registry.merge_identifier(info.dwIdentifier);
  // A list that fills the record without a NUL is read to the record's end.
  std::string_view keys(info.szKeyList,
                        strnlen(info.szKeyList, sizeof info.szKeyList));
  cut_key_list(
      keys, [&](std::string_view key) { registry.register_key(key, &record); });
  registry.accept_load();
  return S_OK;
}

TavrelResult scan_plugin_folder(Registry &registry) {
  ScanState state{};
  state.registry = &registry;
  bool completed = platform::run_guarded(scan, &state);
  if (state.search)
    platform::close_search(state.search);
  return completed ? state.result : E_FAIL;
}

} // namespace tavrel
