// check FILE: one plug-in file against the contract, loaded in a child
// process. The child reports each fact as a "name<TAB>value" line as soon as
// it knows it, so a crash still leaves what was learnt before it.
#include <cstdio>
#include <cstring>
#include <sstream>

#include "child_process.h"
#include "key_list.h"
#include "platform.h"
#include "plugin_record.h"
#include "probe.h"

namespace probe {
namespace {

void say(const char *name, const std::string &value) {
  std::printf("%s\t%s\n", name, value.c_str());
  std::fflush(stdout);
}

struct ChildState {
  tavrel::PluginRecord record;
  PluginInfo info;
  TavrelResult verdict;
};

void ask_for_info(void *context) {
  auto &state = *static_cast<ChildState *>(context);
  state.verdict = state.record.GetPluginInfo(&state.info);
}

// Reports as far as the file gets; run_check_child then says "stage done",
// so a child that ends without it was stopped by what it ran.
void check_in_child(const std::string &file) {
  ChildState state{};
  say("stage", "loading");
  std::string error;
  state.record.module = tavrel::platform::load_library(file.c_str(), &error);
  if (!state.record.module) {
    say("load_error", error);
    return;
  }
  say("loaded", "yes");
  tavrel::bind_entry_points(state.record);
  tavrel::for_each_entry_point(state.record, [](const char *name, bool has) {
    if (has)
      say("exports", name);
  });
  if (!state.record.GetPluginInfo)
    return;

  say("stage", "GetPluginInfo");
  state.info.cbSize = sizeof state.info;
  if (!tavrel::platform::run_guarded(ask_for_info, &state)) {
    say("raised", "yes");
    return;
  }
  say("result", std::to_string(state.verdict));
  if (state.verdict != 0)
    return;
  say("identifier", hex(state.info.dwIdentifier));
  say("terminated", tavrel::key_list_terminated(state.info) ? "yes" : "no");
  say("key_list", std::string(tavrel::key_list_of(state.info)));
}

} // namespace

int run_check_child(const std::string &file) {
  check_in_child(file);
  say("stage", "done");
  return 0;
}

Outcome check_file(const std::string &file) {
  ChildResult child = run_check_child_process(file);
  std::map<std::string, std::string> facts;
  std::vector<std::string> entry_points;
  std::istringstream lines(child.output);
  for (std::string line; std::getline(lines, line);) {
    auto tab = line.find('\t');
    if (tab == std::string::npos)
      continue;
    std::string name = line.substr(0, tab), value = line.substr(tab + 1);
    if (name == "exports")
      entry_points.push_back(value);
    else
      facts[name] = value;
  }
  auto fact = [&](const char *name) {
    auto found = facts.find(name);
    return found != facts.end() ? found->second : std::string();
  };
  bool loads = fact("loaded") == "yes";
  bool has_info =
      loads && !entry_points.empty() && entry_points.front() == "GetPluginInfo";
  bool accepts = fact("result") == "0";
  bool terminated = fact("terminated") == "yes";

  Node document = Node::object().add("file", Node::text(file));
  Node problems = Node::list();
  if (!child.started)
    problems.push(Node::text("the check could not start"));
  else if (fact("stage") != "done")
    problems.push(
        Node::text("stopped (" + child.how + ") during " + fact("stage")));
  if (fact("raised") == "yes")
    problems.push(Node::text("GetPluginInfo raised an exception"));
  document.add("loads", Node::boolean(loads));
  if (!fact("load_error").empty()) {
    document.add("load_error", Node::text(fact("load_error")));
    problems.push(Node::text("could not be loaded: " + fact("load_error")));
  }
  if (loads) {
    document.add("exports_GetPluginInfo", Node::boolean(has_info));
    if (!has_info)
      problems.push(Node::text("does not export GetPluginInfo"));
  }
  if (!fact("result").empty()) {
    TavrelResult result = static_cast<TavrelResult>(std::stoll(fact("result")));
    document.add("GetPluginInfo_result", Node::text(result_name(result)));
    if (!accepts)
      problems.push(Node::text("GetPluginInfo rejects the plug-in with " +
                               result_name(result)));
  }
  if (accepts) {
    document.add("identifier", Node::text(fact("identifier")))
        .add("key_list", Node::text(fact("key_list")))
        .add("key_list_terminated", Node::boolean(terminated));
    if (!terminated)
      problems.push(Node::text("the key list fills szKeyList without a NUL"));
  }
  document.add("entry_points", Node::texts(entry_points));
  bool passed = problems.empty();
  document.add("problems", std::move(problems))
      .add("passed", Node::boolean(passed));
  return {std::move(document), passed ? 0 : 1};
}

} // namespace probe
