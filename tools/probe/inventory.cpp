#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <filesystem>

#include "child_process.h"
#include "platform.h"
#include "probe.h"
#include "scan.h"

namespace probe {
namespace {

std::string explain(const FileReport &file) {
  switch (file.fate) {
  case FileFate::directory:
    return "a directory";
  case FileFate::not_a_file:
    return "not a regular file (a FIFO, socket or device), which a load "
           "could wait on forever";
  case FileFate::path_too_long:
    return "its full path does not fit the path buffer";
  case FileFate::not_loaded:
    return "could not be loaded: " + file.error;
  case FileFate::no_get_plugin_info:
    return "does not export GetPluginInfo";
  case FileFate::rejected:
    return "GetPluginInfo rejected it with " + result_name(file.verdict);
  case FileFate::load_cut_short:
    return "an exception while loading it ended the scan";
  case FileFate::accepted:
    break;
  }
  return "accepted";
}

// Why a scan found nothing to load, in words.
std::string why_none(const std::string &folder) {
  std::error_code error;
  if (!std::filesystem::is_directory(folder, error))
    return "the folder " + folder + " does not exist";
  return "the folder " + folder + " holds no plug-in file";
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
  case E_ILLEGAL_METHOD_CALL:
    return "E_ILLEGAL_METHOD_CALL";
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
  if (file != inventory.file_of.end())
    return file->second;
  // Only the load an exception cut short leaves keys without a listed record.
  for (const FileReport &report : inventory.report.files)
    if (report.fate == FileFate::load_cut_short)
      return report.name + " (load cut short)";
  return "(unknown)";
}

Inventory take_inventory(const std::string &folder) {
  Inventory inventory;
  char path[tavrel::kPathCapacity] = {};
  if (folder.empty()) {
    tavrel::compose_plugin_folder(path);
  } else {
    std::string given = folder;
    if (given.back() != '/' && given.back() != tavrel::platform::kPathSeparator)
      given += tavrel::platform::kPathSeparator;
    given.copy(path, sizeof path - 1);
  }
  tell_parent("stage", "the scan");
  ReportingObserver observer(inventory.report);
  inventory.result =
      tavrel::scan_folder(tavrel::global_registry(), path, observer);
  if (inventory.report.folder.empty())
    inventory.report.folder = path;
  for (const FileReport &file : inventory.report.files)
    if (file.record)
      inventory.file_of[file.record] = file.name;
  return inventory;
}

Outcome show_scan(const Inventory &inventory) {
  const tavrel::Registry &registry = tavrel::global_registry();
  Node plugins = Node::list();
  Node skipped = Node::list();
  bool troubled = false;
  for (const FileReport &file : inventory.report.files) {
    if (file.fate == FileFate::accepted) {
      plugins.push(Node::object()
                       .add("file", Node::text(file.name))
                       .add("identifier", Node::text(hex(file.identifier)))
                       .add("keys", Node::texts(file.keys))
                       .add("key_list_terminated",
                            Node::boolean(file.key_list_terminated))
                       .add("entry_points", Node::texts(file.entry_points)));
      continue;
    }
    // A directory and a plug-in's own refusal are no fault of the folder.
    troubled |=
        file.fate != FileFate::directory && file.fate != FileFate::rejected;
    skipped.push(Node::object()
                     .add("file", Node::text(file.name))
                     .add("reason", Node::text(fate_name(file.fate)))
                     .add("detail", Node::text(explain(file))));
  }
  Node routes = Node::list();
  const tavrel::RouteTable &table = registry.routes();
  for (std::size_t rank = 0; rank < table.size(); ++rank) {
    routes.push(
        Node::object()
            .add("key", Node::text(std::string(table.key(rank))))
            .add("plugin", Node::text(file_of(inventory, table.record(rank)))));
  }
  Node document = Node::object()
                      .add("folder", Node::text(inventory.report.folder))
                      .add("result", Node::text(result_name(inventory.result)));
  if (inventory.result == S_PLUGIN_NONE)
    document.add("note", Node::text(why_none(inventory.report.folder)));
  document.add("identifier_word", Node::text(hex(registry.identifier_word())))
      .add("plugins", std::move(plugins))
      .add("skipped", std::move(skipped))
      .add("routes", std::move(routes));
  bool found = inventory.result == S_OK && registry.plugin_count() > 0;
  return {std::move(document), found && !troubled ? 0 : 1};
}

ChildReport read_child_report(const std::string &channel) {
  ChildReport report;
  std::size_t at = 0;
  while (at < channel.size()) {
    std::size_t end = channel.find('\n', at);
    if (end == std::string::npos)
      break;
    std::string line = channel.substr(at, end - at);
    at = end + 1;
    std::size_t tab = line.find('\t');
    if (tab == std::string::npos)
      continue;
    std::string name = line.substr(0, tab), value = line.substr(tab + 1);
    if (name == "document") {
      std::size_t size = std::strtoull(value.c_str(), nullptr, 10);
      if (size > channel.size() - at)
        break;
      report.document = channel.substr(at, size);
      report.has_document = true;
      at += size;
    } else if (name == "exports") {
      report.exports.push_back(value);
    } else {
      report.facts[name] = value;
    }
  }
  auto exit_status = report.facts.find("exit");
  if (exit_status == report.facts.end())
    report.has_document = false;
  else
    report.exit_status = std::atoi(exit_status->second.c_str());
  return report;
}

} // namespace probe
