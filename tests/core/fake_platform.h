// An in-memory platform layer for the core tests: a fake executable directory,
// a fake plug-in folder, and fake plug-ins whose entry points record each call.
#ifndef TAVREL_TESTS_FAKE_PLATFORM_H
#define TAVREL_TESTS_FAKE_PLATFORM_H

#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "TavrelPlugin.h"
#include "platform.h"

namespace fake {

constexpr int kPluginSlots = 8;

// How one fake plug-in behaves.
struct Plugin {
  std::string name;
  TavrelResult info_result = 0;
  std::uint32_t identifier = 0;
  std::string keys;
  bool keys_fill_record = false; // keys fill szKeyList with no NUL
  std::set<std::string> missing; // entry points it does not export
  TavrelResult result = 0;       // what its other entry points return
  HPROPSHEETPAGE page = nullptr;
  bool writes_page = true;
  // Runs inside the named entry point ("GetPluginInfo", "StopPlugin", ...),
  // after the call is recorded and before it returns.
  std::map<std::string, std::function<void()>> during;
};

// One entry of the fake plug-in folder; plugin indexes World::plugins, or is
// -1 for a file that does not load.
struct File {
  std::string name;
  int plugin = -1;
  tavrel::platform::EntryKind kind = tavrel::platform::EntryKind::file;
};

struct World {
  bool has_executable = true;
  std::string executable_path = "/host/host";
  std::string folder_path = "/host/WebPlugins/"; // where the folder lies
  std::vector<File> folder;                      // in search order
  bool folder_exists = true;
  Plugin plugins[kPluginSlots];
  int loads[kPluginSlots] = {}; // loads not yet released, per plug-in
  int searches_open = 0;
  std::vector<std::string> events;
};

// Starts every test from an empty world.
World &reset();
World &world();

// Adds a plug-in slot with a file of the same name plus ".so". Fails the test
// program at once when every slot is taken.
Plugin &add_plugin(const std::string &name, const std::string &keys);

inline void show(std::ostream &text, const char *value) {
  text << (value ? value : "(null)");
}
template <typename T> void show(std::ostream &text, T value) { text << value; }

// The event text a fake entry point records, texts shown as text and other
// pointers by address: "alpha.GetRSSFeedInfo(blog.example,0x1234)".
template <typename... Args>
std::string call(const std::string &plugin, const char *entry, Args... args) {
  std::ostringstream text;
  text << plugin << '.' << entry << '(';
  [[maybe_unused]] const char *separator = "";
  ((text << separator, show(text, args), separator = ","), ...);
  text << ')';
  return text.str();
}

// While alive, failure injection (see allocation_failure.h) is paused, so
// that the fake's own allocations never fail.
struct InjectionPause {
  InjectionPause();
  ~InjectionPause();
};

} // namespace fake

#endif
