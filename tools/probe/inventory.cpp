#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "platform.h"
#include "probe.h"
#include "scan.h"

namespace probe {
namespace {

const char *describe(tavrel::FileOutcome outcome) {
  switch (outcome) {
  case tavrel::FileOutcome::accepted:
    return "accepted";
  case tavrel::FileOutcome::directory:
    return "directory";
  case tavrel::FileOutcome::path_too_long:
    return "path_too_long";
  case tavrel::FileOutcome::not_loaded:
    return "not_loaded";
  case tavrel::FileOutcome::no_get_plugin_info:
    return "no_get_plugin_info";
  case tavrel::FileOutcome::rejected:
    return "rejected";
  case tavrel::FileOutcome::scan_ended:
    return "scan_ended";
  }
  return "unknown";
}

std::string explain(const tavrel::FileReport &file) {
  switch (file.outcome) {
  case tavrel::FileOutcome::directory:
    return "a directory";
  case tavrel::FileOutcome::path_too_long:
    return "its full path does not fit the path buffer";
  case tavrel::FileOutcome::not_loaded:
    return "could not be loaded: " + file.error;
  case tavrel::FileOutcome::no_get_plugin_info:
    return "does not export GetPluginInfo";
  case tavrel::FileOutcome::rejected:
    return "GetPluginInfo rejected it with " + result_name(file.info_result);
  case tavrel::FileOutcome::scan_ended:
    return "an exception while loading it ended the scan";
  case tavrel::FileOutcome::accepted:
    break;
  }
  return "accepted";
}

} // namespace

bool parse_int32(const std::string &text, int32_t &value) {
  char *end = nullptr;
  errno = 0;
  long long number = std::strtoll(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || errno == ERANGE || number < INT32_MIN ||
      number > INT32_MAX)
    return false;
  value = static_cast<int32_t>(number);
  return true;
}

std::string result_name(TavrelResult result) {
  switch (result) {
  case S_OK:
    return "S_OK";
  case S_PLUGIN_NONE:
    return "S_PLUGIN_NONE";
  case E_FAIL:
    return "E_FAIL";
  case E_POINTER:
    return "E_POINTER";
  case E_PLUGIN_NOTIMPL:
    return "E_PLUGIN_NOTIMPL";
  case E_PLUGIN_NOTFOUND:
    return "E_PLUGIN_NOTFOUND";
  }
  return hex(static_cast<std::uint32_t>(result));
}

std::string file_of(const Inventory &inventory,
                    const tavrel::PluginRecord *record) {
  auto file = inventory.file_of.find(record);
  return file != inventory.file_of.end() ? file->second : "(load cut short)";
}

Inventory take_inventory(const std::string &folder) {
  Inventory inventory;
  tavrel::Registry &registry = tavrel::global_registry();
  if (folder.empty()) {
    inventory.result = tavrel::scan_plugin_folder(registry, &inventory.report);
  } else {
    std::string path = folder;
    if (path.back() != '/' && path.back() != tavrel::platform::kPathSeparator)
      path += tavrel::platform::kPathSeparator;
    inventory.result =
        tavrel::scan_folder(registry, path.c_str(), &inventory.report);
  }
  // Accepted files and listed records come in the same order.
  auto record = registry.plugins().begin();
  for (const tavrel::FileReport &file : inventory.report.files) {
    if (file.outcome == tavrel::FileOutcome::accepted &&
        record != registry.plugins().end())
      inventory.file_of[(record++)->get()] = file.name;
  }
  return inventory;
}

Outcome show_scan(const Inventory &inventory) {
  const tavrel::Registry &registry = tavrel::global_registry();
  Node plugins = Node::list();
  Node skipped = Node::list();
  for (const tavrel::FileReport &file : inventory.report.files) {
    if (file.outcome == tavrel::FileOutcome::accepted) {
      plugins.push(Node::object()
                       .add("file", Node::text(file.name))
                       .add("identifier", Node::text(hex(file.identifier)))
                       .add("keys", Node::texts(file.keys))
                       .add("key_list_terminated",
                            Node::boolean(file.key_list_terminated))
                       .add("entry_points", Node::texts(file.entry_points)));
    } else {
      skipped.push(Node::object()
                       .add("file", Node::text(file.name))
                       .add("reason", Node::text(describe(file.outcome)))
                       .add("detail", Node::text(explain(file))));
    }
  }
  Node routes = Node::list();
  for (const auto &[key, record] : registry.routes()) {
    routes.push(Node::object()
                    .add("key", Node::text(key))
                    .add("plugin", Node::text(file_of(inventory, record))));
  }
  Node document =
      Node::object()
          .add("folder", Node::text(inventory.report.folder))
          .add("result", Node::text(result_name(inventory.result)))
          .add("identifier_word", Node::text(hex(registry.identifier_word())))
          .add("plugins", std::move(plugins))
          .add("skipped", std::move(skipped))
          .add("routes", std::move(routes));
  bool found = inventory.result == S_OK && !registry.plugins().empty();
  return {std::move(document), found ? 0 : 1};
}

} // namespace probe
