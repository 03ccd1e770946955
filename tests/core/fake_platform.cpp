#include "fake_platform.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <utility>

#include "allocation_failure.h"
#include "platform.h"
#include "plugin_record.h"

namespace fake {
namespace {

World the_world;

template <typename... Args>
void log_call(int slot, const char *entry, Args... args) {
  InjectionPause pause;
  Plugin &plugin = the_world.plugins[slot];
  the_world.events.push_back(call(plugin.name, entry, args...));
}

// Whatever the test asked the entry point to do while it runs.
void run_hook(int slot, const char *entry) {
  auto &during = the_world.plugins[slot].during;
  auto hook = during.find(entry);
  if (hook != during.end() && hook->second)
    hook->second();
}

template <typename... Args>
TavrelResult record(int slot, const char *entry, Args... args) {
  log_call(slot, entry, args...);
  run_hook(slot, entry);
  return the_world.plugins[slot].result;
}

// Entry points of plug-in slot N. Each records its call with its arguments.
template <int N> struct Entries {
  static Plugin &plugin() { return the_world.plugins[N]; }

  static TavrelResult TAVREL_CALL GetPluginInfo(PluginInfo *info) {
    const bool zeroed =
        info->dwIdentifier == 0 &&
        std::all_of(std::begin(info->szKeyList), std::end(info->szKeyList),
                    [](char c) { return c == 0; });
    log_call(N, "GetPluginInfo", info->cbSize, zeroed ? "zeroed" : "dirty");
    run_hook(N, "GetPluginInfo");
    info->dwIdentifier = plugin().identifier;
    const std::string &keys = plugin().keys;
    if (plugin().keys_fill_record) {
      for (std::size_t i = 0; i < sizeof info->szKeyList; ++i)
        info->szKeyList[i] = keys[i % keys.size()];
    } else {
      std::strncpy(info->szKeyList, keys.c_str(), sizeof info->szKeyList - 1);
    }
    return plugin().info_result;
  }
  static TavrelResult TAVREL_CALL GetLoginInfo(LoginInfo *login) {
    return record(N, "GetLoginInfo", login);
  }
  static TavrelResult TAVREL_CALL SetLoginInfo(const LoginInfo *login) {
    return record(N, "SetLoginInfo", login);
  }
  static TavrelResult TAVREL_CALL SetRSSFeedInfo(const char *url,
                                                 const RSSFeedInfo *feed) {
    return record(N, "SetRSSFeedInfo", url, feed);
  }
  static TavrelResult TAVREL_CALL GetRSSFeedInfo(const char *url,
                                                 RSSFeedInfo *feed) {
    return record(N, "GetRSSFeedInfo", url, feed);
  }
  static TavrelResult TAVREL_CALL LoadConfigInfo() {
    return record(N, "LoadConfigInfo");
  }
  static TavrelResult TAVREL_CALL ReFresh(const char *url) {
    return record(N, "ReFresh", url);
  }
  static TavrelResult TAVREL_CALL GetRSSContent(const char *url) {
    return record(N, "GetRSSContent", url);
  }
  static TavrelResult TAVREL_CALL
  SetCallbackInterface(IRSSFeedCallback *callback) {
    return record(N, "SetCallbackInterface", callback);
  }
  static TavrelResult TAVREL_CALL ParseFinalURL(const char *url, char *buffer,
                                                int32_t value) {
    return record(N, "ParseFinalURL", url, static_cast<void *>(buffer), value);
  }
  static TavrelResult TAVREL_CALL StopPlugin() {
    return record(N, "StopPlugin");
  }
  static TavrelResult TAVREL_CALL DeleteRSSFeed(const char *url,
                                                const char *second,
                                                const char *third) {
    return record(N, "DeleteRSSFeed", url, second, third);
  }
  static TavrelResult TAVREL_CALL CallPropertyPage(HPROPSHEETPAGE *page,
                                                   LanguageSetting language) {
    // The variable's value on entry shows whether Tavrel set it first.
    log_call(N, "CallPropertyPage", language, *page ? "preset" : "null");
    run_hook(N, "CallPropertyPage");
    if (plugin().writes_page)
      *page = plugin().page;
    return plugin().result;
  }

  static tavrel::platform::Proc find(const char *name) {
    if (plugin().missing.count(name))
      return nullptr;
#define FAKE_FIND_ENTRY(entry)                                                 \
  if (std::strcmp(name, #entry) == 0)                                          \
    return reinterpret_cast<tavrel::platform::Proc>(&entry);
    TAVREL_ENTRY_POINTS(FAKE_FIND_ENTRY)
#undef FAKE_FIND_ENTRY
    return nullptr;
  }
};

template <int... N>
tavrel::platform::Proc find_in_slot(int slot, const char *name,
                                    std::integer_sequence<int, N...>) {
  tavrel::platform::Proc found = nullptr;
  ((slot == N ? (found = Entries<N>::find(name)) : nullptr), ...);
  return found;
}

// Library handles are the address of the plug-in's slot.
int slot_of(tavrel::platform::LibraryHandle library) {
  return static_cast<int>(static_cast<Plugin *>(library) - the_world.plugins);
}

} // namespace

InjectionPause::InjectionPause() { pause_allocation_failure(true); }
InjectionPause::~InjectionPause() { pause_allocation_failure(false); }

World &world() { return the_world; }

World &reset() {
  InjectionPause pause;
  the_world = World();
  return the_world;
}

Plugin &add_plugin(const std::string &name, const std::string &keys) {
  InjectionPause pause;
  int slot = 0;
  while (slot < kPluginSlots && !the_world.plugins[slot].name.empty())
    ++slot;
  if (slot == kPluginSlots) {
    std::fprintf(stderr, "fake::add_plugin: all %d slots are taken\n",
                 kPluginSlots);
    std::abort();
  }
  the_world.plugins[slot].name = name;
  the_world.plugins[slot].keys = keys;
  the_world.folder.push_back({name + ".so", slot});
  return the_world.plugins[slot];
}

} // namespace fake

namespace tavrel::platform {

using fake::slot_of;
using fake::the_world;

const char kPathSeparator = '/';

bool executable_path(char *buffer, std::size_t size) {
  const std::string &path = the_world.executable_path;
  if (!the_world.has_executable || path.size() >= size)
    return false;
  std::memcpy(buffer, path.c_str(), path.size() + 1);
  return true;
}

struct Search {
  std::size_t next = 0;
};

Search *open_search(const char *folder) {
  fake::InjectionPause pause;
  the_world.events.push_back(std::string("search ") + folder);
  if (!the_world.folder_exists || the_world.folder.empty() ||
      the_world.folder_path != folder)
    return nullptr;
  ++the_world.searches_open;
  return new Search;
}

bool next_entry(Search *search, DirectoryEntry &entry) {
  if (search->next == the_world.folder.size())
    return false;
  const fake::File &file = the_world.folder[search->next++];
  entry.name = file.name.c_str();
  entry.kind = file.kind;
  return true;
}

void close_search(Search *search) {
  fake::InjectionPause pause;
  --the_world.searches_open;
  delete search;
}

std::string describe(const LoadError &error) { return error.text; }

LibraryHandle load_library(const char *path, LoadError &error) {
  fake::InjectionPause pause;
  the_world.events.push_back(std::string("load ") + path);
  for (const fake::File &file : the_world.folder) {
    if (the_world.folder_path + file.name != path || file.plugin < 0)
      continue;
    ++the_world.loads[file.plugin];
    return &the_world.plugins[file.plugin];
  }
  error.text = "not a library";
  return nullptr;
}

Proc find_symbol(LibraryHandle library, const char *name) {
  return fake::find_in_slot(
      slot_of(library), name,
      std::make_integer_sequence<int, fake::kPluginSlots>());
}

void unload_library(LibraryHandle library) {
  fake::InjectionPause pause;
  int slot = slot_of(library);
  --the_world.loads[slot];
  the_world.events.push_back("unload " + the_world.plugins[slot].name);
}

bool run_guarded(void (*body)(void *), void *context) {
  try {
    body(context);
    return true;
  } catch (...) {
    return false;
  }
}

} // namespace tavrel::platform
