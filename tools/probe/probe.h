// tavrel-probe: a host program that loads plug-ins as Tavrel does and shows
// what the library made of them.
#ifndef TAVREL_PROBE_H
#define TAVREL_PROBE_H

#include <map>
#include <string>
#include <vector>

#include "document.h"
#include "registry.h"
#include "scan_report.h"

namespace probe {

// What a command shows, and the exit status it asks for.
struct Outcome {
  Node document;
  int exit_status;
};

// The library-wide registry after one scan, with the scan's report.
struct Inventory {
  TavrelResult result;
  tavrel::ScanReport report;
  std::map<const tavrel::PluginRecord *, std::string> file_of;
};

// The file a record was loaded from.
std::string file_of(const Inventory &inventory,
                    const tavrel::PluginRecord *record);

// Scans folder, or the WebPlugins folder beside the probe when folder is
// empty, exactly as InitializeTavrel does.
Inventory take_inventory(const std::string &folder);

// Reads a whole decimal number that fits 32 bits; false for anything else.
bool parse_int32(const std::string &text, int32_t &value);

// "S_OK", "E_PLUGIN_NOTFOUND", ... or the value in hex.
std::string result_name(TavrelResult result);

Outcome show_scan(const Inventory &inventory);
Outcome show_route(const Inventory &inventory, const std::string &address);
Outcome show_lint(const Inventory &inventory);
Outcome show_pages(const Inventory &inventory, LanguageSetting language);
// arguments: ENTRYPOINT ADDRESS [ARGS...]
Outcome perform_call(const Inventory &inventory,
                     const std::vector<std::string> &arguments);

// Checks one plug-in file in a child process, so that a crash in it is
// reported rather than fatal.
Outcome check_file(const std::string &file);
// The child's side: loads file and reports on standard output.
int run_check_child(const std::string &file);

} // namespace probe

#endif
