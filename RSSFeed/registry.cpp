#include "registry.h"

#include <new>

namespace tavrel {

Registry::~Registry() = default;

// Measured with bench/routing_bench.cpp (glibc's strstr, x86-64): the walk
// costs each key about 4 ns plus 0.0125 ns per address byte, the index about
// 15 ns plus 0.7 ns per byte, so the walk wins past
// (4 k - 15) / (0.7 - 0.0125 k) bytes for k keys, and never from 48 keys on.
std::size_t index_beats_walk_below(std::size_t keys) {
  if (keys >= kIndexedTableSize)
    return SIZE_MAX;
  const double per_key = 4.0, per_key_byte = 0.0125;
  const double index_start = 15.0, index_byte = 0.7;
  const double gain = per_key * keys - index_start;
  return gain <= 0 ? 0
                   : static_cast<std::size_t>(
                         gain / (index_byte - per_key_byte * keys));
}

PluginRecord &Registry::begin_load() {
  unlisted_.push_back(std::make_unique<PluginRecord>());
  return *unlisted_.back();
}

void Registry::discard_load() { unlisted_.pop_back(); }

void Registry::accept_load() {
  // Should the list fail to grow, the record stays unlisted, as for any
  // other load cut short.
  records_.push_back(std::move(unlisted_.back()));
  unlisted_.pop_back();
}

void Registry::register_key(std::string_view key, PluginRecord *record) {
  index_.reset();
  routes_.add(key, record);
}

void Registry::settle() {
  try {
    if (!routes_.committed() || unloaded_ > 0) {
      index_.reset();
      routes_.commit();
      records_.erase(records_.begin(), records_.begin() + unloaded_);
      unloaded_ = 0;
    }
    index_below_ = index_beats_walk_below(routes_.size());
    if (!index_ && index_below_ > 0)
      index_ = std::make_unique<RouteIndex>(routes_);
  } catch (const std::bad_alloc &) {
    // The walk answers over whatever the table holds.
  }
}

void Registry::release_front() {
  index_.reset();
  records_[unloaded_]->unloaded = true;
  ++unloaded_;
}

void Registry::clear() {
  index_.reset();
  routes_.clear();
  decltype(records_)().swap(records_);
  decltype(unlisted_)().swap(unlisted_);
  unloaded_ = 0;
}

namespace {
// A namespace-scope object, so that the C++ run-time's start-up code builds
// it as the library loads; nothing in the library runs before it.
Registry the_registry;
} // namespace

Registry &global_registry() { return the_registry; }

} // namespace tavrel
