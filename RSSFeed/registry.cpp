#include "registry.h"

namespace tavrel {

PluginRecord &Registry::begin_load() {
  // Room for the record in the list now, so that accept_load cannot throw.
  if (plugins_.size() == plugins_.capacity())
    plugins_.reserve(2 * plugins_.size() + 1);
  unlisted_.push_back(std::make_unique<PluginRecord>());
  return *unlisted_.back();
}

void Registry::discard_load() { unlisted_.pop_back(); }

void Registry::accept_load() {
  plugins_.push_back(std::move(unlisted_.back()));
  unlisted_.pop_back();
}

void Registry::register_key(std::string_view key, PluginRecord *record) {
  routes_.try_emplace(std::string(key), record);
}

void Registry::remove_keys_of(const PluginRecord *record) {
  for (auto it = routes_.begin(); it != routes_.end();) {
    it = it->second == record ? routes_.erase(it) : std::next(it);
  }
}

void Registry::release_front() {
  remove_keys_of(plugins_.front().get());
  plugins_.erase(plugins_.begin());
}

void Registry::clear() {
  routes_.clear();
  PluginList().swap(plugins_);
  PluginList().swap(unlisted_);
}

Registry &global_registry() {
  static Registry registry;
  return registry;
}

} // namespace tavrel
