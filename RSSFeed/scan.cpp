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
  ScanReport *report;
  bool beside_executable;
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

// The executable's directory, with its separator, then "WebPlugins" and a
// separator.
bool compose_plugin_folder(char *folder) {
  if (!platform::executable_path(folder, kPathCapacity))
    return false;
  char *last_separator = std::strrchr(folder, platform::kPathSeparator);
  if (!last_separator)
    return false;
  last_separator[1] = '\0';
  const char separator[] = {platform::kPathSeparator, '\0'};
  return append(folder, kPluginFolderName) && append(folder, separator);
}

bool is_dot_entry(const char *name) {
  return std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0;
}

// Where the report of the entry being looked at goes, if anywhere. Added
// before the load starts, so that a load cut short stays on record.
FileReport *report_entry(ScanState &state, const char *name,
                         FileOutcome outcome) {
  if (!state.report)
    return nullptr;
  FileReport &file = state.report->files.emplace_back();
  file.name = name;
  file.outcome = outcome;
  return &file;
}

void scan(void *context) {
  ScanState &state = *static_cast<ScanState *>(context);
  if (state.beside_executable && !compose_plugin_folder(state.folder)) {
    state.result = E_FAIL;
    return;
  }
  if (state.report)
    state.report->folder = state.folder;
  state.search = platform::open_search(state.folder);
  if (!state.search) {
    state.result = S_PLUGIN_NONE;
    return;
  }
  platform::DirectoryEntry entry;
  while (platform::next_entry(state.search, entry)) {
    if (is_dot_entry(entry.name))
      continue;
    if (entry.is_directory) {
      report_entry(state, entry.name, FileOutcome::directory);
      continue;
    }
    std::memset(state.path, 0, kPathCapacity);
    if (!append(state.path, state.folder) || !append(state.path, entry.name)) {
      report_entry(state, entry.name, FileOutcome::path_too_long);
      continue;
    }
    load_plugin_library(
        *state.registry, state.path,
        report_entry(state, entry.name, FileOutcome::scan_ended));
  }
  state.result = S_OK;
}

TavrelResult run_scan(ScanState &state) {
  bool completed = platform::run_guarded(scan, &state);
  if (state.search)
    platform::close_search(state.search);
  return completed ? state.result : E_FAIL;
}

TavrelResult reject(Registry &registry, PluginRecord &record,
                    FileReport *report, FileOutcome outcome) {
  platform::unload_library(record.module);
  registry.discard_load();
  if (report)
    report->outcome = outcome;
  return E_FAIL;
}

void describe_plugin(FileReport &report, const PluginRecord &record,
                     const PluginInfo &info) {
  report.identifier = info.dwIdentifier;
  report.key_list_terminated = key_list_terminated(info);
  for_each_entry_point(record, [&](const char *name, bool exported) {
    if (exported)
      report.entry_points.push_back(name);
  });
}

} // namespace

TavrelResult load_plugin_library(Registry &registry, const char *path,
                                 FileReport *report) {
  PluginRecord &record = registry.begin_load();
  record.module =
      platform::load_library(path, report ? &report->error : nullptr);
  if (!record.module) {
    registry.discard_load();
    if (report)
      report->outcome = FileOutcome::not_loaded;
    return E_FAIL;
  }
  bind_entry_points(record);
  if (!record.GetPluginInfo)
    return reject(registry, record, report, FileOutcome::no_get_plugin_info);

  PluginInfo info;
  std::memset(&info, 0, sizeof info);
  info.cbSize = sizeof info;
  TavrelResult verdict = record.GetPluginInfo(&info);
  if (report)
    report->info_result = verdict;
  if (verdict != 0)
    return reject(registry, record, report, FileOutcome::rejected);

  registry.merge_identifier(info.dwIdentifier);
  cut_key_list(key_list_of(info), [&](std::string_view key) {
    registry.register_key(key, &record);
    if (report)
      report->keys.emplace_back(key);
  });
  if (report)
    describe_plugin(*report, record, info);
  registry.accept_load();
  if (report)
    report->outcome = FileOutcome::accepted;
  return S_OK;
}

TavrelResult scan_plugin_folder(Registry &registry, ScanReport *report) {
  ScanState state{};
  state.registry = &registry;
  state.report = report;
  state.beside_executable = true;
  return run_scan(state);
}

TavrelResult scan_folder(Registry &registry, const char *folder,
                         ScanReport *report) {
  ScanState state{};
  state.registry = &registry;
  state.report = report;
  if (!append(state.folder, folder))
    return E_FAIL;
  return run_scan(state);
}

} // namespace tavrel
