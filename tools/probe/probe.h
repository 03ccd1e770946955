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
  ScanReport report;
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
// arguments: ENTRYPOINT ADDRESS [ARGS...], checked by check_call_arguments.
Outcome perform_call(const std::vector<std::string> &arguments);

// What is wrong with the arguments of `call`, or empty when they fit.
std::string check_call_arguments(const std::vector<std::string> &arguments);

// Checks one plug-in file against the contract in a child process, so that a
// crash or a hang in it is reported rather than fatal.
Outcome check_file(const std::string &file, unsigned timeout_seconds);
// The child's side of check_file: loads file and tells the parent each fact.
int check_in_child(const std::string &file);

// The facts a child told its parent, the document it sent, if any, and its
// exit status.
struct ChildReport {
  std::map<std::string, std::string> facts; // the last value of each name
  std::vector<std::string> exports;         // every "exports" line
  bool has_document = false;
  std::string document;
  int exit_status = 1;
};
ChildReport read_child_report(const std::string &channel);

} // namespace probe

#endif
