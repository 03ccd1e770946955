// tavrel-probe [--dir DIR] [--json] [COMMAND]
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "child_process.h"
#include "probe.h"

namespace {

const char kUsage[] =
    "usage: tavrel-probe [--dir DIR] [--json] [COMMAND]\n"
    "\n"
    "Scans a plug-in folder as Tavrel does (by default the WebPlugins folder\n"
    "beside this program) and shows what the library makes of it.\n"
    "\n"
    "commands:\n"
    "  (none)                      plug-ins, skipped files, identifier word,\n"
    "                              key table in routing order\n"
    "  route ADDRESS               which key and plug-in claim ADDRESS\n"
    "  call ENTRYPOINT ADDRESS [ARGS...]\n"
    "                              one routed call through the library\n"
    "  pages [LANGUAGE]            the property pages the plug-ins offer\n"
    "  lint                        keys that never win, shared keys, the\n"
    "                              empty key, unterminated key lists\n"
    "  check FILE                  one plug-in file against the contract,\n"
    "                              in a child process\n"
    "\n"
    "exit status: 0 fine, 1 scan failed, nothing found, no claimant, failed\n"
    "call, lint findings or failed check; 2 usage error\n";

int usage_error(const char *problem) {
  std::fprintf(stderr, "tavrel-probe: %s\n\n%s", problem, kUsage);
  return 2;
}

} // namespace

int main(int argc, char **argv) {
  std::string folder;
  bool json = false;
  std::vector<std::string> words;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--json") == 0) {
      json = true;
    } else if (std::strcmp(argv[i], "--dir") == 0 && i + 1 < argc) {
      folder = argv[++i];
    } else if (std::strcmp(argv[i], "--check-child") == 0 && i + 1 < argc) {
      probe::prepare_check_child();
      return probe::run_check_child(argv[i + 1]);
    } else if (std::strcmp(argv[i], "--help") == 0) {
      std::fputs(kUsage, stdout);
      return 0;
    } else if (argv[i][0] == '-' && argv[i][1] == '-') {
      return usage_error("unknown option");
    } else {
      words.push_back(argv[i]);
    }
  }

  const std::string command = words.empty() ? "" : words[0];
  probe::Outcome outcome;
  if (command == "check") {
    if (words.size() != 2)
      return usage_error("check takes one FILE");
    outcome = probe::check_file(words[1]);
  } else {
    if (command == "route" && words.size() != 2)
      return usage_error("route takes one ADDRESS");
    if (command == "call" && words.size() < 3)
      return usage_error("call takes ENTRYPOINT ADDRESS [ARGS...]");
    if (command == "lint" && words.size() != 1)
      return usage_error("lint takes no argument");
    int32_t language = 0;
    if (command == "pages" &&
        (words.size() > 2 ||
         (words.size() == 2 && !probe::parse_int32(words[1], language))))
      return usage_error("pages takes at most a LANGUAGE number");
    if (!command.empty() && command != "route" && command != "call" &&
        command != "lint" && command != "pages")
      return usage_error("unknown command");

    probe::Inventory inventory = probe::take_inventory(folder);
    if (command == "route")
      outcome = probe::show_route(inventory, words[1]);
    else if (command == "call")
      outcome = probe::perform_call(
          inventory, std::vector<std::string>(words.begin() + 1, words.end()));
    else if (command == "lint")
      outcome = probe::show_lint(inventory);
    else if (command == "pages")
      outcome = probe::show_pages(inventory, language);
    else
      outcome = probe::show_scan(inventory);
    UninitializeTavrel();
  }
  std::fputs(
      (json ? outcome.document.to_json() : outcome.document.to_text()).c_str(),
      stdout);
  return outcome.exit_status;
}
