#include "lifecycle.h"

namespace tavrel {

TavrelResult start_plugins(const Registry &registry) {
  if (registry.plugins().empty())
    return S_PLUGIN_NONE;
  TavrelResult combined = 0;
  for (const auto &record : registry.plugins()) {
    if (record->LoadConfigInfo)
      combined |= record->LoadConfigInfo();
  }
  return combined;
}

void stop_plugins(Registry &registry) {
  // Each record leaves the list, with its keys, as soon as its library is
  // unloaded: should a StopPlugin throw, nothing that is left routes to an
  // unloaded plug-in.
  while (!registry.plugins().empty()) {
    PluginRecord &record = *registry.plugins().front();
    if (record.StopPlugin)
      record.StopPlugin();
    platform::unload_library(record.module);
    registry.release_front();
  }
  registry.clear();
}

} // namespace tavrel
