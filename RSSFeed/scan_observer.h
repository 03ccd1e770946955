// What a scan can tell whoever watches it. InitializeTavrel watches nothing;
// tools that show a scan implement the calls they need.
#ifndef TAVREL_SCAN_OBSERVER_H
#define TAVREL_SCAN_OBSERVER_H

#include "TavrelPlugin.h"
#include "platform.h"
#include "plugin_record.h"

namespace tavrel {

enum class SkipReason {
  directory,
  not_a_file,    // a FIFO, a socket, a device: loading it could hang
  path_too_long, // the full path does not fit the path buffer
};

enum class LoadOutcome {
  not_loaded,         // the platform could not load it
  no_get_plugin_info, // loaded, but lacks the one required entry point
  rejected,           // GetPluginInfo returned non-zero
  accepted,
};

// How one load ended, as far as it got.
struct LoadResult {
  LoadOutcome outcome = LoadOutcome::not_loaded;
  platform::LoadError error;            // not_loaded
  TavrelResult verdict = 0;             // GetPluginInfo's result
  PluginInfo info{};                    // as GetPluginInfo left it
  const PluginRecord *record = nullptr; // accepted: the listed record
};

class ScanObserver {
public:
  // The folder, before the search starts.
  virtual void searching(const char *) {}
  // An entry passed over without an attempt to load it.
  virtual void skipped(const char *, SkipReason) {}
  // Before a file is loaded, and once its load has ended. A load that never
  // ends was cut short by an exception, which ended the scan.
  virtual void loading(const char *) {}
  virtual void loaded(const char *, const LoadResult &) {}

protected:
  ~ScanObserver() = default;
};

} // namespace tavrel

#endif
