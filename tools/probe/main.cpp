// tavrel-probe [--dir DIR] [--json] [--timeout SECONDS] [COMMAND]
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "child_process.h"
#include "probe.h"

namespace {

const char kUsage[] =
    "usage: tavrel-probe [--dir DIR] [--json] [--timeout SECONDS] [COMMAND]\n"
    "\n"
    "Scans a plug-in folder as Tavrel does (by default the WebPlugins folder\n"
    "beside this program) and shows what the library makes of it. The work\n"
    "runs in a child process: a plug-in that crashes or hangs it is named.\n"
    "\n"
    "commands:\n"
    "  (none)                      plug-ins, skipped files, identifier word,\n"
    "                              key table in routing order\n"
    "  route ADDRESS               which key and plug-in claim ADDRESS\n"
    "  call ENTRYPOINT ADDRESS [ARGS...]\n"
    "                              one routed call through the library\n"
    "  pages [LANGUAGE]            the property pages the plug-ins offer\n"
    "  lint                        keys that never win, shared keys, the\n"
    "                              empty key, unterminated key lists, files\n"
    "                              that cannot load\n"
    "  check FILE                  one plug-in file against the contract\n"
    "\n"
    "options:\n"
    "  --dir DIR          scan DIR instead\n"
    "  --json             print JSON\n"
    "  --timeout SECONDS  stop the work after SECONDS (default 30)\n"
    "  -h, --help         this text\n"
    "\n"
    "exit status: 0 fine; 1 scan failed or skipped files it could not use,\n"
    "nothing found, no claimant, failed call, lint findings, failed check, or\n"
    "the work crashed or timed out; 2 usage error\n";

constexpr unsigned kDefaultTimeout = 30;

struct Options {
  std::string folder;
  bool json = false;
  unsigned timeout = kDefaultTimeout;
  bool help = false;
  std::vector<std::string> words;
};

// Reads the options and checks the command's arguments: empty on success,
// else what is wrong.
std::string parse(const std::vector<std::string> &arguments, Options &options) {
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string &argument = arguments[i];
    bool has_value = i + 1 < arguments.size();
    if (argument == "--json") {
      options.json = true;
    } else if (argument == "--dir" && has_value) {
      options.folder = arguments[++i];
    } else if (argument == "--timeout" && has_value) {
      int32_t seconds;
      if (!probe::parse_int32(arguments[++i], seconds) || seconds <= 0)
        return "--timeout takes a positive number of seconds";
      options.timeout = static_cast<unsigned>(seconds);
    } else if (argument == "-h" || argument == "--help") {
      options.help = true;
    } else if (argument.size() > 1 && argument[0] == '-' &&
               options.words.empty()) {
      return "unknown option " + argument;
    } else {
      options.words.push_back(argument);
    }
  }
  const auto &words = options.words;
  const std::string command = words.empty() ? "" : words[0];
  int32_t language;
  if (command.empty())
    return "";
  if (command == "route")
    return words.size() == 2 ? "" : "route takes one ADDRESS";
  if (command == "call")
    return probe::check_call_arguments({words.begin() + 1, words.end()});
  if (command == "lint")
    return words.size() == 1 ? "" : "lint takes no argument";
  if (command == "pages")
    return words.size() == 1 ||
                   (words.size() == 2 && probe::parse_int32(words[1], language))
               ? ""
               : "pages takes at most a LANGUAGE number";
  if (command == "check")
    return words.size() == 2 ? "" : "check takes one FILE";
  return "unknown command " + command;
}

int usage_error(const std::string &problem) {
  std::fprintf(stderr, "tavrel-probe: %s\n\n%s", problem.c_str(), kUsage);
  return 2;
}

int print(const probe::Outcome &outcome, bool json) {
  std::fputs(
      (json ? outcome.document.to_json() : outcome.document.to_text()).c_str(),
      stdout);
  return outcome.exit_status;
}

// What the parent says when the child ended without its document.
probe::Outcome stopped(const probe::ChildResult &child,
                       const probe::ChildReport &report) {
  auto fact = [&](const char *name) {
    auto found = report.facts.find(name);
    return found != report.facts.end() ? found->second : std::string();
  };
  std::string stage = fact("stage");
  probe::Node document = probe::Node::object();
  std::string where = stage.empty() ? "before it began" : "during " + stage;
  if (stage == "the scan" && !fact("file").empty()) {
    where = "while loading " + fact("file") +
            " (its start-up code or GetPluginInfo; tavrel-probe check tells "
            "which)";
    document.add("file", probe::Node::text(fact("file")));
  }
  std::string error = child.started
                          ? "the work stopped (" + child.how + ") " + where
                          : "the work could not start";
  document.add("error", probe::Node::text(error))
      .add("stage", probe::Node::text(stage));
  return {std::move(document), 1};
}

} // namespace

namespace probe {

int child_main(const std::vector<std::string> &arguments) {
  Options options;
  parse(arguments, options);
  const auto &words = options.words;
  const std::string command = words.empty() ? "" : words[0];
  if (command == "check")
    return check_in_child(words[1]);

  Inventory inventory = take_inventory(options.folder);
  Outcome outcome;
  if (command == "route") {
    outcome = show_route(inventory, words[1]);
  } else if (command == "call") {
    outcome = perform_call({words.begin() + 1, words.end()});
  } else if (command == "lint") {
    outcome = show_lint(inventory);
  } else if (command == "pages") {
    int32_t language = 0;
    if (words.size() == 2)
      parse_int32(words[1], language);
    outcome = show_pages(inventory, language);
  } else {
    outcome = show_scan(inventory);
  }
  tell_parent("stage", "UninitializeTavrel");
  UninitializeTavrel();
  send_document(options.json ? outcome.document.to_json()
                             : outcome.document.to_text(),
                outcome.exit_status);
  return 0;
}

} // namespace probe

int main(int argc, char **argv) {
  std::vector<std::string> arguments(argv + 1, argv + argc);
  if (arguments.size() >= 2 && arguments[0] == "--child")
    return probe::run_as_child(arguments[1].c_str(),
                               {arguments.begin() + 2, arguments.end()});

  Options options;
  std::string problem = parse(arguments, options);
  if (options.help) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (!problem.empty())
    return usage_error(problem);

  if (!options.words.empty() && options.words[0] == "check")
    return print(probe::check_file(options.words[1], options.timeout),
                 options.json);
  probe::ChildResult child = probe::run_child(arguments, options.timeout);
  probe::ChildReport report = probe::read_child_report(child.channel);
  if (child.exited && report.has_document) {
    std::fputs(report.document.c_str(), stdout);
    return report.exit_status;
  }
  return print(stopped(child, report), options.json);
}
