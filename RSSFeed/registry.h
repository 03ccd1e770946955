// The library's whole state: the accepted plug-ins in load order, the address
// keys that route to them with the index over those keys, and the merged
// identifier bits.
#ifndef TAVREL_REGISTRY_H
#define TAVREL_REGISTRY_H

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "plugin_record.h"
#include "route_index.h"
#include "route_table.h"

namespace tavrel {

class Registry {
public:
  Registry() = default;
  Registry(const Registry &) = delete;
  Registry &operator=(const Registry &) = delete;
  ~Registry();

  // The listed plug-ins, in load order. Walks go by position: a scan that a
  // plug-in starts from inside a walk only appends.
  std::size_t plugin_count() const { return records_.size() - unloaded_; }
  PluginRecord &plugin(std::size_t position) const {
    return *records_[unloaded_ + position];
  }

  const RouteTable &routes() const { return routes_; }
  // The index over the routes, or null where none is current: then the walk
  // is the answer.
  const RouteIndex *index() const { return index_.get(); }
  // Addresses shorter than this go to the index, longer ones to the walk,
  // whose substring tests beat the index on long addresses when there are
  // few keys. SIZE_MAX when the index is always the quicker.
  std::size_t index_below() const { return index_below_; }
  std::uint32_t identifier_word() const { return identifier_word_; }

  // A load takes three steps. begin_load allocates the record up front, so
  // that no library is loaded that could not be recorded. A load cut short by
  // an exception leaves its record unlisted: its keys keep working and its
  // library stays loaded, until clear() drops them.
  PluginRecord &begin_load();
  void discard_load();
  void accept_load();

  void merge_identifier(std::uint32_t bits) { identifier_word_ |= bits; }

  // Registers key for record unless the key is already present.
  void register_key(std::string_view key, PluginRecord *record);

  // Ends a change to the keys: sorts the new keys in, drops those of
  // unloaded plug-ins with their records, and builds the index. A failure to
  // allocate leaves the walk to answer, and is not reported.
  void settle();

  // Marks the front plug-in, whose library teardown has just unloaded, as
  // gone: it leaves the list, and its keys stop routing.
  void release_front();

  // Empties the list, the route table and the index and releases every
  // record. The identifier word keeps its bits.
  void clear();

private:
  // records_[0, unloaded_) are plug-ins teardown has unloaded, kept only
  // while their keys are in the table.
  std::vector<std::unique_ptr<PluginRecord>> records_;
  std::size_t unloaded_ = 0;
  std::vector<std::unique_ptr<PluginRecord>> unlisted_;
  RouteTable routes_;
  std::unique_ptr<RouteIndex> index_;
  std::size_t index_below_ = 0;
  std::uint32_t identifier_word_ = 0;
};

// From this many keys on the index beats the walk on addresses of any length.
constexpr std::size_t kIndexedTableSize = 48;

// The longest address on which the index beats the walk over keys keys.
std::size_t index_beats_walk_below(std::size_t keys);

// The registry the exports work on: created empty when the library is loaded,
// released when it is unloaded.
Registry &global_registry();

} // namespace tavrel

#endif
