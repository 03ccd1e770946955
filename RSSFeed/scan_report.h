// What a scan did with each entry of the plug-in folder. The exported
// InitializeTavrel asks for no report; tools that show a scan do.
#ifndef TAVREL_SCAN_REPORT_H
#define TAVREL_SCAN_REPORT_H

#include <cstdint>
#include <string>
#include <vector>

#include "Tavrel.h"

namespace tavrel {

enum class FileOutcome {
  accepted,
  directory,          // skipped
  path_too_long,      // skipped: the full path does not fit
  not_loaded,         // the platform could not load it; error says why
  no_get_plugin_info, // loaded, but lacks the one required entry point
  rejected,           // GetPluginInfo returned info_result
  scan_ended,         // an exception during its load ended the scan
};

struct FileReport {
  std::string name;
  FileOutcome outcome = FileOutcome::scan_ended;
  std::string error;
  TavrelResult info_result = 0;
  std::uint32_t identifier = 0;
  std::vector<std::string> keys; // as cut from the list, repeats included
  bool key_list_terminated = true;
  std::vector<std::string> entry_points; // the ones it exports
};

struct ScanReport {
  std::string folder;
  std::vector<FileReport> files; // in the order the scan took them
};

} // namespace tavrel

#endif
