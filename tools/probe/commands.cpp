// route, lint and call: what the library does with addresses and keys.
#include <cstring>
#include <set>

#include "probe.h"
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

} // namespace

Outcome show_route(const Inventory &inventory, const std::string &address) {
  const tavrel::Registry &registry = tavrel::global_registry();
  tavrel::PluginRecord *claimant = nullptr;
  TavrelResult found =
      tavrel::find_plugin_for_url(registry, address.c_str(), &claimant);

  Node document = Node::object()
                      .add("address", Node::text(address))
                      .add("result", Node::text(result_name(found)));
  const std::string *winner = nullptr; // the first key that occurs
  Node losers = Node::list();
  for (const auto &[key, record] : registry.routes()) {
    if (!std::strstr(address.c_str(), key.c_str()))
      continue;
    if (!winner) {
      winner = &key;
      document.add("key", Node::text(key))
          .add("plugin", Node::text(file_of(inventory, record)));
      continue;
    }
    losers.push(Node::object()
                    .add("key", Node::text(key))
                    .add("plugin", Node::text(file_of(inventory, record)))
                    .add("why", Node::text("sorts after \"" + *winner +
                                           "\"; the first key in byte order "
                                           "that occurs wins")));
  }
  document.add("also_matching", std::move(losers));
  return {std::move(document), found == S_OK ? 0 : 1};
}

Outcome show_lint(const Inventory &inventory) {
  const tavrel::Registry &registry = tavrel::global_registry();
  Node findings = Node::list();

  std::map<std::string, std::vector<std::string>> claimants;
  for (const tavrel::FileReport &file : inventory.report.files) {
    if (file.outcome != tavrel::FileOutcome::accepted)
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
  for (auto key = registry.routes().begin(); key != registry.routes().end();
       ++key) {
    for (auto earlier = registry.routes().begin(); earlier != key; ++earlier) {
      if (earlier->first.empty() || earlier->second == key->second ||
          key->first.find(earlier->first) == std::string::npos)
        continue;
      findings.push(finding("unreachable_key", file_of(inventory, key->second),
                            key->first,
                            "never wins: \"" + earlier->first + "\" of " +
                                file_of(inventory, earlier->second) +
                                " occurs inside it and sorts first"));
      break;
    }
  }
  bool clean = findings.empty();
  return {Node::object().add("findings", std::move(findings)), clean ? 0 : 1};
}

Outcome show_pages(const Inventory &inventory, LanguageSetting language) {
  int32_t count = 0;
  FillSheetPage(nullptr, &count, language);
  std::vector<HPROPSHEETPAGE> pages(count > 0 ? count : 1);
  FillSheetPage(pages.data(), &count, language);

  // The pages come in list order from the plug-ins that offer one.
  Node list = Node::list();
  std::size_t next = 0;
  for (const auto &record : tavrel::global_registry().plugins()) {
    if (!record->CallPropertyPage || next == static_cast<std::size_t>(count))
      continue;
    list.push(Node::object()
                  .add("plugin", Node::text(file_of(inventory, record.get())))
                  .add("page", Node::boolean(pages[next++] != nullptr)));
  }
  return {Node::object()
              .add("language", Node::number(language))
              .add("count", Node::number(count))
              .add("pages", std::move(list)),
          0};
}

Outcome perform_call(const Inventory &,
                     const std::vector<std::string> &arguments) {
  const std::string &entry = arguments[0];
  const char *url = arguments[1].c_str();
  auto argument = [&](std::size_t i, const char *fallback) {
    return arguments.size() > i ? arguments[i] : std::string(fallback);
  };
  // The host-defined records are opaque here: the plug-in gets a zeroed block.
  std::vector<unsigned char> record(64 * 1024);
  auto *login = reinterpret_cast<LoginInfo *>(record.data());
  auto *feed = reinterpret_cast<RSSFeedInfo *>(record.data());

  TavrelResult started = StartTavrel();
  Node document = Node::object()
                      .add("start", Node::text(result_name(started)))
                      .add("entry_point", Node::text(entry))
                      .add("address", Node::text(url));
  TavrelResult result;
  if (entry == "GetLoginInfo") {
    result = GetLoginInfo(url, login);
  } else if (entry == "SetLoginInfo") {
    result = SetLoginInfo(url, login);
  } else if (entry == "SetRSSFeedInfo") {
    result = SetRSSFeedInfo(url, feed);
  } else if (entry == "GetRSSFeedInfo") {
    result = GetRSSFeedInfo(url, feed);
  } else if (entry == "ReFresh") {
    result = ReFresh(url);
  } else if (entry == "GetRSSContent") {
    result = GetRSSContent(url);
  } else if (entry == "ParseFinalURL") {
    int32_t value;
    if (!parse_int32(argument(2, "1024"), value))
      return {Node::object().add(
                  "error", Node::text("not a number: " + argument(2, ""))),
              2};
    std::vector<char> buffer(value > 0 ? value : 1024);
    result = ParseFinalURL(url, buffer.data(), value);
    buffer.back() = '\0';
    document.add("buffer", Node::text(buffer.data()));
  } else if (entry == "DeleteRSSFeed") {
    result =
        DeleteRSSFeed(url, argument(2, "").c_str(), argument(3, "").c_str());
  } else {
    return {Node::object().add(
                "error", Node::text("not a routed entry point: " + entry)),
            2};
  }
  document.add("result", Node::text(result_name(result)));
  return {std::move(document), result < 0 ? 1 : 0};
}

} // namespace probe
