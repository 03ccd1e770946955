// The library's whole state: the accepted plug-ins in load order, the address
// keys that route to them, and the merged identifier bits.
#ifndef TAVREL_REGISTRY_H
#define TAVREL_REGISTRY_H

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "plugin_record.h"

namespace tavrel {

// std::string compares through char_traits<char>, which orders bytes as
// unsigned char and puts a prefix before its extensions: exactly the routing
// order.
using RouteTable = std::map<std::string, PluginRecord *, std::less<>>;
using PluginList = std::vector<std::unique_ptr<PluginRecord>>;

class Registry {
public:
  Registry() = default;
  Registry(const Registry &) = delete;
  Registry &operator=(const Registry &) = delete;

  const PluginList &plugins() const { return plugins_; }
  const RouteTable &routes() const { return routes_; }
  std::uint32_t identifier_word() const { return identifier_word_; }

  // A load takes three steps. begin_load allocates the record up front, so
  // that accept_load cannot fail once the plug-in's keys are registered. A
  // load cut short by an exception leaves its record unlisted: its keys keep
  // working and its library stays loaded, until clear() drops them.
  PluginRecord &begin_load();
  void discard_load();
  void accept_load();

  void merge_identifier(std::uint32_t bits) { identifier_word_ |= bits; }

  // Inserts key for record unless the key is already present.
  void register_key(std::string_view key, PluginRecord *record);

  // Drops the keys that route to record.
  void remove_keys_of(const PluginRecord *record);

  // Removes the front record of the list and releases it.
  void release_front();

  // Empties the list and the route table and releases unlisted records. The
  // identifier word keeps its bits.
  void clear();

private:
  PluginList plugins_;
  PluginList unlisted_;
  RouteTable routes_;
  std::uint32_t identifier_word_ = 0;
};

// The registry the exports work on, created empty when the library loads.
Registry &global_registry();

} // namespace tavrel

#endif
