// The address keys and the plug-ins they route to, in routing order: bytes
// compared as unsigned values, a prefix before its extensions, so that the
// empty key comes first.
#ifndef TAVREL_ROUTE_TABLE_H
#define TAVREL_ROUTE_TABLE_H

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "plugin_record.h"

namespace tavrel {

class RouteTable {
public:
  // Registers key for record. The key joins the table in key order at the
  // next commit(); until then the walk below takes it into account as well.
  // The first registration of a key keeps it.
  void add(std::string_view key, PluginRecord *record);

  // Sorts the keys added since the last commit into the table and drops the
  // keys of unloaded plug-ins. On allocation failure it throws and leaves
  // the table as it was.
  void commit();

  void clear();

  bool committed() const { return pending_.empty(); }

  // The committed keys, by rank (their place in key order).
  std::size_t size() const { return sorted_.size(); }
  std::string_view key(std::size_t rank) const {
    return text_of(sorted_[rank]);
  }
  PluginRecord *record(std::size_t rank) const { return sorted_[rank].record; }

  // The walk, the reference answer: the record of the first key in key order
  // that occurs in url, or null. Keys of unloaded plug-ins are passed over,
  // and keys not yet committed are weighed too, so that the answer is right
  // in every state the table can be in.
  PluginRecord *walk(const char *url) const;

  // Calls visit(key, record) for every key that occurs in url and routes to
  // a loaded plug-in, in key order.
  template <typename Visit>
  void for_each_occurring(const char *url, Visit visit) const;

  // Bytes held, for the benchmark's figures.
  std::size_t bytes() const;

private:
  struct Route {
    std::uint32_t offset; // into text_, where the key is followed by a NUL
    std::uint32_t length;
    PluginRecord *record;
  };

  std::string_view text_of(const Route &route) const {
    return std::string_view(text_.data() + route.offset, route.length);
  }
  bool occurs(const Route &route, const char *url) const;

  std::string text_;           // every key's bytes, each followed by a NUL
  std::vector<Route> sorted_;  // key order, one entry per key
  std::vector<Route> pending_; // registration order, not yet committed
};

template <typename Visit>
void RouteTable::for_each_occurring(const char *url, Visit visit) const {
  std::vector<const Route *> found;
  for (const Route &route : sorted_)
    if (occurs(route, url))
      found.push_back(&route);
  for (const Route &route : pending_)
    if (occurs(route, url))
      found.push_back(&route);
  std::stable_sort(found.begin(), found.end(),
                   [&](const Route *a, const Route *b) {
                     return text_of(*a) < text_of(*b);
                   });
  for (std::size_t i = 0; i < found.size(); ++i)
    if (i == 0 || text_of(*found[i]) != text_of(*found[i - 1]))
      visit(text_of(*found[i]), found[i]->record);
}

} // namespace tavrel

#endif
