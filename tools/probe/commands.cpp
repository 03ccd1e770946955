// route, lint, pages and call: what the library does with addresses and keys.
#include <set>

#include "broadcast.h"
#include "child_process.h"
#include "probe.h"
#include "routed_exports.h"
#include "routing.h"

namespace probe {
namespace {

Node finding(const char *kind, const std::string &plugin,
             const std::string &key, std::string detail) {
  return Node::object()
      .add("kind", Node::text(kind))
      .add("plugin", Node::text(plugin))
      .add("key", Node::text(key))
      .add("detail", Node::text(std::move(detail)));
}

// Files in the folder that a host's scan cannot use.
void add_file_findings(const Inventory &inventory, Node &findings) {
  for (const FileReport &file : inventory.report.files) {
    if (file.fate == FileFate::not_a_file)
      findings.push(finding("not_a_file", file.name, "",
                            "not a regular file: the scan passes over it"));
    else if (file.fate == FileFate::not_loaded)
      findings.push(finding("not_loaded", file.name, "",
                            "could not be loaded: " + file.error));
    else if (file.fate == FileFate::load_cut_short)
      findings.push(finding("load_cut_short", file.name, "",
                            "an exception while loading it ends every scan"));
  }
}

} // namespace

Outcome show_route(const Inventory &inventory, const std::string &address) {
  const tavrel::Registry &registry = tavrel::global_registry();
  tavrel::PluginRecord *claimant = nullptr;
  TavrelResult found =
      tavrel::find_plugin_for_url(registry, address.c_str(), &claimant);

  Node document = Node::object()
                      .add("address", Node::text(address))
                      .add("result", Node::text(result_name(found)));
  Node losers = Node::list();
  std::string winner;
  bool shown = false;
  registry.routes().for_each_occurring(
      address.c_str(),
      [&](std::string_view key, const tavrel::PluginRecord *record) {
        if (!shown && found == S_OK && record == claimant) {
          shown = true;
          winner = key;
          document.add("key", Node::text(winner))
              .add("plugin", Node::text(file_of(inventory, record)));
          return;
        }
        losers.push(Node::object()
                        .add("key", Node::text(std::string(key)))
                        .add("plugin", Node::text(file_of(inventory, record)))
                        .add("why", Node::text("sorts after \"" + winner +
                                               "\"; the first key in byte "
                                               "order that occurs wins")));
      });
  document.add("also_matching", std::move(losers));
  return {std::move(document), found == S_OK ? 0 : 1};
}

Outcome show_lint(const Inventory &inventory) {
  const tavrel::Registry &registry = tavrel::global_registry();
  Node findings = Node::list();
  if (inventory.result == S_PLUGIN_NONE || registry.plugin_count() == 0)
    findings.push(finding("no_plugins", "", "",
                          "no plug-in loads from " + inventory.report.folder));
  add_file_findings(inventory, findings);

  std::map<std::string, std::vector<std::string>> claimants;
  for (const FileReport &file : inventory.report.files) {
    if (file.fate != FileFate::accepted)
      continue;
    if (!file.key_list_terminated)
      findings.push(finding("unterminated_key_list", file.name, "",
                            "the key list fills all 260 bytes of szKeyList "
                            "without a terminating NUL"));
    std::set<std::string> listed(file.keys.begin(), file.keys.end());
    for (const std::string &key : listed) {
      claimants[key].push_back(file.name);
      if (key.empty())
        findings.push(finding("empty_key", file.name, key,
                              "the empty key occurs in every address: this "
                              "plug-in claims them all"));
    }
  }
  for (const auto &[key, files] : claimants) {
    if (files.size() < 2)
      continue;
    std::string others;
    for (std::size_t i = 1; i < files.size(); ++i)
      others += (i > 1 ? ", " : "") + files[i];
    findings.push(finding("shared_key", files.front(), key,
                          "also listed by " + others + "; " + files.front() +
                              " was loaded first and keeps it"));
  }
  // A key never wins when a key of another plug-in occurs inside it and
  // sorts first: every address holding the one holds the other.
  const tavrel::RouteTable &table = registry.routes();
  for (std::size_t rank = 0; rank < table.size(); ++rank) {
    std::string key(table.key(rank));
    table.for_each_occurring(
        key.c_str(),
        [&, done = false](std::string_view inner,
                          const tavrel::PluginRecord *record) mutable {
          if (done || inner.empty() || inner >= key ||
              record == table.record(rank))
            return;
          done = true;
          findings.push(finding("unreachable_key",
                                file_of(inventory, table.record(rank)), key,
                                "never wins: \"" + std::string(inner) +
                                    "\" of " + file_of(inventory, record) +
                                    " occurs inside it and sorts "
                                    "first"));
        });
  }
  bool clean = findings.empty();
  return {Node::object().add("findings", std::move(findings)), clean ? 0 : 1};
}

Outcome show_pages(const Inventory &inventory, LanguageSetting language) {
  const tavrel::Registry &registry = tavrel::global_registry();
  int32_t count = 0;
  tell_parent("stage", "FillSheetPage");
  FillSheetPage(nullptr, &count, language);
  std::vector<HPROPSHEETPAGE> pages(count > 0 ? count : 1);
  FillSheetPage(pages.data(), &count, language);

  Node list = Node::list();
  std::size_t next = 0;
  tavrel::for_each_page_offerer(
      registry, count, [&](const tavrel::PluginRecord &record) {
        list.push(Node::object()
                      .add("plugin", Node::text(file_of(inventory, &record)))
                      .add("page", Node::boolean(pages[next++] != nullptr)));
      });
  bool found = inventory.result == S_OK && registry.plugin_count() > 0;
  return {Node::object()
              .add("language", Node::number(language))
              .add("count", Node::number(count))
              .add("pages", std::move(list)),
          found ? 0 : 1};
}

std::string check_call_arguments(const std::vector<std::string> &arguments) {
  if (arguments.size() < 2)
    return "call takes ENTRYPOINT ADDRESS [ARGS...]";
  const tavrel::RoutedExport *routed = tavrel::find_routed_export(arguments[0]);
  if (!routed)
    return "not a routed entry point: " + arguments[0];
  const std::size_t more = arguments.size() - 2;
  int32_t size;
  switch (routed->takes) {
  case tavrel::Takes::buffer_and_value:
    if (more != 1)
      return arguments[0] + " takes ADDRESS SIZE (the buffer's size)";
    if (!parse_int32(arguments[2], size))
      return "not a number: " + arguments[2];
    return "";
  case tavrel::Takes::two_texts:
    return more == 2 ? "" : arguments[0] + " takes ADDRESS SECOND THIRD";
  default:
    return more == 0 ? "" : arguments[0] + " takes ADDRESS only";
  }
}

Outcome perform_call(const std::vector<std::string> &arguments) {
  const tavrel::RoutedExport &routed =
      *tavrel::find_routed_export(arguments[0]);
  tavrel::RoutedArguments call;
  call.url = arguments[1].c_str();
  // The host-defined records are opaque here: the plug-in gets a zeroed block.
  std::vector<unsigned char> record(64 * 1024);
  call.login = reinterpret_cast<LoginInfo *>(record.data());
  call.feed = reinterpret_cast<RSSFeedInfo *>(record.data());
  std::vector<char> buffer;
  if (routed.takes == tavrel::Takes::buffer_and_value) {
    parse_int32(arguments[2], call.value);
    buffer.assign(call.value > 0 ? call.value : 1, '\0');
    call.buffer = buffer.data();
  }
  if (routed.takes == tavrel::Takes::two_texts) {
    call.second = arguments[2].c_str();
    call.third = arguments[3].c_str();
  }

  tell_parent("stage", "StartTavrel");
  TavrelResult started = StartTavrel();
  Node document = Node::object()
                      .add("start", Node::text(result_name(started)))
                      .add("entry_point", Node::text(routed.name))
                      .add("address", Node::text(arguments[1]));
  tell_parent("stage", std::string("the routed call ") + routed.name);
  TavrelResult result = routed.call(call);
  if (!buffer.empty()) {
    buffer.back() = '\0';
    document.add("buffer", Node::text(buffer.data()));
  }
  document.add("result", Node::text(result_name(result)));
  return {std::move(document), result < 0 ? 1 : 0};
}

} // namespace probe
