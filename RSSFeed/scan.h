// Finding, loading and registering the plug-ins of a plug-in folder.
#ifndef TAVREL_SCAN_H
#define TAVREL_SCAN_H

#include "Tavrel.h"
#include "registry.h"
#include "scan_observer.h"

namespace tavrel {

// Room for every path the scan composes, terminating NUL included. A path that
// does not fit is never cut short: it fails.
constexpr std::size_t kPathCapacity = 1024;

// Name of the plug-in folder beside the host's executable.
constexpr char kPluginFolderName[] = "WebPlugins";

// Writes the path of the WebPlugins folder beside the host's executable,
// with a trailing separator, into folder[0..kPathCapacity). False when the
// executable's path cannot be had, holds no separator, or the result does not
// fit.
bool compose_plugin_folder(char *folder);

// Loads one library and registers it when its GetPluginInfo accepts; a
// library that is rejected or lacks GetPluginInfo is unloaded again.
LoadResult load_plugin_library(Registry &registry, const char *path);

// Scans folder (a path ending in a separator) into registry under the
// platform's guard, telling observer what becomes of each entry. Returns S_OK
// after a completed scan, S_PLUGIN_NONE when the search cannot start, and
// E_FAIL when the path does not fit or an exception cut the scan short.
TavrelResult scan_folder(Registry &registry, const char *folder,
                         ScanObserver &observer);

} // namespace tavrel

#endif
