// What a scan did with each entry of the plug-in folder, as the probe records
// it through the library's scan observer.
#ifndef TAVREL_PROBE_SCAN_REPORT_H
#define TAVREL_PROBE_SCAN_REPORT_H

#include <cstdint>
#include <string>
#include <vector>

#include "scan_observer.h"

namespace probe {

enum class FileFate {
  accepted,
  directory,          // skipped
  not_a_file,         // skipped: a FIFO, a socket or a device
  path_too_long,      // skipped: the full path does not fit
  not_loaded,         // the platform could not load it; error says why
  no_get_plugin_info, // loaded, but lacks the one required entry point
  rejected,           // GetPluginInfo returned verdict
  load_cut_short,     // an exception during its load ended the scan
};

struct FileReport {
  std::string name;
  FileFate fate = FileFate::load_cut_short;
  std::string error;
  TavrelResult verdict = 0;
  std::uint32_t identifier = 0;
  std::vector<std::string> keys; // as cut from the list, repeats included
  bool key_list_terminated = true;
  std::vector<std::string> entry_points; // the ones it exports
  const tavrel::PluginRecord *record = nullptr;
};

struct ScanReport {
  std::string folder;
  std::vector<FileReport> files; // in the order the scan took them
};

// Records each entry into report, and tells the probe's parent process which
// file is loading, so that a crash or a hang there is named.
class ReportingObserver final : public tavrel::ScanObserver {
public:
  explicit ReportingObserver(ScanReport &report) : report_(report) {}

  void searching(const char *folder) override;
  void skipped(const char *name, tavrel::SkipReason reason) override;
  void loading(const char *name) override;
  void loaded(const char *name, const tavrel::LoadResult &result) override;

private:
  ScanReport &report_;
};

// "accepted", "not_loaded", ...: the fate's name in the probe's output.
const char *fate_name(FileFate fate);

} // namespace probe

#endif
