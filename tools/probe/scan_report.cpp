#include "scan_report.h"

#include "child_process.h"
#include "key_list.h"

namespace probe {

void ReportingObserver::searching(const char *folder) {
  report_.folder = folder;
}

void ReportingObserver::skipped(const char *name, tavrel::SkipReason reason) {
  FileReport &file = report_.files.emplace_back();
  file.name = name;
  switch (reason) {
  case tavrel::SkipReason::directory:
    file.fate = FileFate::directory;
    break;
  case tavrel::SkipReason::not_a_file:
    file.fate = FileFate::not_a_file;
    break;
  case tavrel::SkipReason::path_too_long:
    file.fate = FileFate::path_too_long;
    break;
  }
}

void ReportingObserver::loading(const char *name) {
  report_.files.emplace_back().name = name;
  tell_parent("file", name);
}

void ReportingObserver::loaded(const char *, const tavrel::LoadResult &result) {
  FileReport &file = report_.files.back();
  switch (result.outcome) {
  case tavrel::LoadOutcome::not_loaded:
    file.fate = FileFate::not_loaded;
    file.error = tavrel::platform::describe(result.error);
    return;
  case tavrel::LoadOutcome::no_get_plugin_info:
    file.fate = FileFate::no_get_plugin_info;
    return;
  case tavrel::LoadOutcome::rejected:
    file.fate = FileFate::rejected;
    file.verdict = result.verdict;
    return;
  case tavrel::LoadOutcome::accepted:
    break;
  }
  file.fate = FileFate::accepted;
  file.record = result.record;
  file.identifier = result.info.dwIdentifier;
  file.key_list_terminated = tavrel::key_list_terminated(result.info);
  tavrel::cut_key_list(
      tavrel::key_list_of(result.info),
      [&](std::string_view key) { file.keys.emplace_back(key); });
  tavrel::for_each_entry_point(*result.record,
                               [&](const char *name, bool exported) {
                                 if (exported)
                                   file.entry_points.push_back(name);
                               });
}

const char *fate_name(FileFate fate) {
  switch (fate) {
  case FileFate::accepted:
    return "accepted";
  case FileFate::directory:
    return "directory";
  case FileFate::not_a_file:
    return "not_a_file";
  case FileFate::path_too_long:
    return "path_too_long";
  case FileFate::not_loaded:
    return "not_loaded";
  case FileFate::no_get_plugin_info:
    return "no_get_plugin_info";
  case FileFate::rejected:
    return "rejected";
  case FileFate::load_cut_short:
    return "load_cut_short";
  }
  return "unknown";
}

} // namespace probe
