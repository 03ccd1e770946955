#include "scan.h"

#include <cstring>

#include "key_list.h"
#include "plugin_call.h"

namespace tavrel {
namespace {

// Everything the scan needs outside the guarded frames, so that nothing is
// lost when an exception ends the scan early: the search is closed after the
// guard returns, and the path buffers own no memory.
struct ScanState {
  Registry *registry;
  ScanObserver *observer;
  char folder[kPathCapacity];
  char path[kPathCapacity];
  platform::Search *search;
  TavrelResult result;
};

// Closes the search on every way out of the scan, a cancelled thread's
// unwinding included.
struct SearchCloser {
  ScanState &state;
  ~SearchCloser() {
    if (state.search)
      platform::close_search(state.search);
  }
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

bool is_dot_entry(const char *name) {
  return std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0;
}

void scan(void *context) {
  ScanState &state = *static_cast<ScanState *>(context);
  state.observer->searching(state.folder);
  state.search = platform::open_search(state.folder);
  if (!state.search) {
    state.result = S_PLUGIN_NONE;
    return;
  }
  platform::DirectoryEntry entry;
  while (platform::next_entry(state.search, entry)) {
    if (is_dot_entry(entry.name))
      continue;
    if (entry.kind != platform::EntryKind::file) {
      state.observer->skipped(entry.name,
                              entry.kind == platform::EntryKind::directory
                                  ? SkipReason::directory
                                  : SkipReason::not_a_file);
      continue;
    }
    std::memset(state.path, 0, kPathCapacity);
    if (!append(state.path, state.folder) || !append(state.path, entry.name)) {
      state.observer->skipped(entry.name, SkipReason::path_too_long);
      continue;
    }
    state.observer->loading(entry.name);
    LoadResult result = load_plugin_library(*state.registry, state.path);
    state.observer->loaded(entry.name, result);
  }
  state.result = S_OK;
}

LoadResult unload_rejected(Registry &registry, PluginRecord &record,
                           LoadResult result, LoadOutcome outcome) {
  call_plugin(kReshaping, [&] { platform::unload_library(record.module); });
  registry.discard_load();
  result.outcome = outcome;
  return result;
}

} // namespace

bool compose_plugin_folder(char *folder) {
  std::memset(folder, 0, kPathCapacity);
  if (!platform::executable_path(folder, kPathCapacity))
    return false;
  char *last_separator = std::strrchr(folder, platform::kPathSeparator);
  if (!last_separator)
    return false;
  last_separator[1] = '\0';
  const char separator[] = {platform::kPathSeparator, '\0'};
  return append(folder, kPluginFolderName) && append(folder, separator);
}

LoadResult load_plugin_library(Registry &registry, const char *path) {
  LoadResult result;
  PluginRecord &record = registry.begin_load();
  record.module = call_plugin(
      kReshaping, [&] { return platform::load_library(path, result.error); });
  if (!record.module) {
    registry.discard_load();
    return result;
  }
  bind_entry_points(record);
  if (!record.GetPluginInfo)
    return unload_rejected(registry, record, result,
                           LoadOutcome::no_get_plugin_info);

  result.info.cbSize = sizeof result.info;
  result.verdict = call_plugin(
      kReshaping, [&] { return record.GetPluginInfo(&result.info); });
  if (result.verdict != 0)
    return unload_rejected(registry, record, result, LoadOutcome::rejected);

  registry.merge_identifier(result.info.dwIdentifier);
  cut_key_list(key_list_of(result.info), [&](std::string_view key) {
    registry.register_key(key, &record);
  });
  registry.accept_load();
  result.outcome = LoadOutcome::accepted;
  result.record = &record;
  return result;
}

TavrelResult scan_folder(Registry &registry, const char *folder,
                         ScanObserver &observer) {
  // A scan from inside another scan's or a teardown's plug-in call would
  // load that very plug-in again, or change the list under the teardown.
  if (current_activity() == kReshaping)
    return E_ILLEGAL_METHOD_CALL;
  ScanState state{};
  state.registry = &registry;
  state.observer = &observer;
  if (!append(state.folder, folder))
    return E_FAIL;
  bool completed;
  {
    SearchCloser closer{state};
    completed = platform::run_guarded(scan, &state);
  }
  // Whatever the scan returned, the keys registered so far route.
  registry.settle();
  return completed ? state.result : E_FAIL;
}

} // namespace tavrel
