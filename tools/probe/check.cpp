// check FILE: one plug-in file against the contract, loaded in a child
// process. The child tells each fact as soon as it knows it, so a crash or a
// hang still leaves what was learnt before it.
#include <exception>
#include <filesystem>

#include "child_process.h"
#include "key_list.h"
#include "platform.h"
#include "plugin_record.h"
#include "probe.h"

namespace probe {
namespace {

// The platform's exit code of a child that a kit plug-in's C++ exception
// ended (Windows).
constexpr const char *kCxxExceptionEnding = "0xe0435458";

} // namespace

int check_in_child(const std::string &file) {
  namespace fs = std::filesystem;
  std::error_code error;
  if (fs::exists(file, error) && !fs::is_regular_file(file, error)) {
    tell_parent("not_a_file", "yes");
    tell_parent("stage", "done");
    return 0;
  }
  tell_parent("stage", "loading");
  tavrel::PluginRecord record;
  tavrel::platform::LoadError load_error;
  record.module = tavrel::platform::load_library(file.c_str(), load_error);
  if (!record.module) {
    tell_parent("load_error", tavrel::platform::describe(load_error));
    tell_parent("stage", "done");
    return 0;
  }
  tell_parent("loaded", "yes");
  tavrel::bind_entry_points(record);
  tavrel::for_each_entry_point(record, [](const char *name, bool has) {
    if (has)
      tell_parent("exports", name);
  });
  if (record.GetPluginInfo) {
    tell_parent("stage", "GetPluginInfo");
    PluginInfo info{};
    info.cbSize = sizeof info;
    TavrelResult verdict = 0;
    bool returned = false;
    try {
      verdict = record.GetPluginInfo(&info);
      returned = true;
    } catch (const std::exception &exception) {
      tell_parent("exception", exception.what());
    } catch (...) {
      tell_parent("exception", "");
    }
    if (returned) {
      tell_parent("result", std::to_string(verdict));
      if (verdict == 0) {
        tell_parent("identifier", hex(info.dwIdentifier));
        tell_parent("terminated",
                    tavrel::key_list_terminated(info) ? "yes" : "no");
        tell_parent("key_list", std::string(tavrel::key_list_of(info)));
      }
    }
  }
  tell_parent("stage", "done");
  return 0;
}

Outcome check_file(const std::string &file, unsigned timeout_seconds) {
  // A file argument is a path, never a name for the loader to search for.
  std::error_code error;
  std::string path = std::filesystem::absolute(file, error).string();
  if (error)
    path = file;
  ChildResult child = run_child({"check", path}, timeout_seconds);
  ChildReport report = read_child_report(child.channel);
  auto fact = [&](const char *name) {
    auto found = report.facts.find(name);
    return found != report.facts.end() ? found->second : std::string();
  };
  const auto &entry_points = report.exports;
  bool loads = fact("loaded") == "yes";
  bool has_info =
      loads && !entry_points.empty() && entry_points.front() == "GetPluginInfo";
  bool accepts = fact("result") == "0";
  bool terminated = fact("terminated") == "yes";

  Node document = Node::object().add("file", Node::text(file));
  Node problems = Node::list();
  if (!child.started) {
    problems.push(Node::text("the check could not start"));
  } else if (fact("stage") != "done") {
    std::string stage = fact("stage");
    if (child.how.find(kCxxExceptionEnding) != std::string::npos)
      problems.push(Node::text("a C++ exception escaped " + stage));
    problems.push(Node::text("stopped (" + child.how + ") during " + stage));
  }
  if (fact("not_a_file") == "yes")
    problems.push(Node::text("not a regular file (a FIFO, socket or "
                             "device): Tavrel passes over it"));
  if (report.facts.count("exception")) {
    std::string what = fact("exception");
    problems.push(Node::text("a C++ exception escaped GetPluginInfo" +
                             (what.empty() ? "" : ": " + what)));
  }
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
