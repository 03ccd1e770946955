// Finding, loading and registering the plug-ins of the plug-in folder.
#ifndef TAVREL_SCAN_H
#define TAVREL_SCAN_H

#include "Tavrel.h"
#include "registry.h"
#include "scan_report.h"

namespace tavrel {

// Room for every path the scan composes, terminating NUL included. A path that
// does not fit is never cut short: it fails.
constexpr std::size_t kPathCapacity = 1024;

// Name of the plug-in folder beside the host's executable.
constexpr char kPluginFolderName[] = "WebPlugins";

// Loads one library and registers it when its GetPluginInfo accepts. Returns
// S_OK when accepted, E_FAIL otherwise; a rejected library is unloaded again.
// Fills report, when given, as far as the load got.
TavrelResult load_plugin_library(Registry &registry, const char *path,
                                 FileReport *report = nullptr);

// Scans the plug-in folder beside the host's executable into registry, under
// the platform's guard. Returns S_OK, S_PLUGIN_NONE or E_FAIL, as
// InitializeTavrel does, and fills report when given.
TavrelResult scan_plugin_folder(Registry &registry,
                                ScanReport *report = nullptr);

// The same scan over another folder, whose path ends in a separator.
TavrelResult scan_folder(Registry &registry, const char *folder,
                         ScanReport *report = nullptr);

} // namespace tavrel

#endif
