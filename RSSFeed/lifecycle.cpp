#include "lifecycle.h"

#include "plugin_call.h"
#include "scan.h"

namespace tavrel {
namespace {

struct Unobserved final : ScanObserver {};

} // namespace

TavrelResult load_plugins(Registry &registry) {
  char folder[kPathCapacity];
  if (!compose_plugin_folder(folder))
    return E_FAIL;
  Unobserved nobody;
  return scan_folder(registry, folder, nobody);
}

TavrelResult start_plugins(const Registry &registry) {
  // The plug-ins listed now; those a nested scan appends are not walked.
  const std::size_t listed = registry.plugin_count();
  if (listed == 0)
    return S_PLUGIN_NONE;
  TavrelResult combined = 0;
  for (std::size_t i = 0; i < listed; ++i) {
    const PluginRecord &record = registry.plugin(i);
    if (record.LoadConfigInfo)
      combined |=
          call_plugin(kServing, [&] { return record.LoadConfigInfo(); });
  }
  return combined;
}

TavrelResult tear_down(Registry &registry) {
  if (current_activity() != kInHost)
    return E_ILLEGAL_METHOD_CALL;
  // Each plug-in leaves the list, and its keys stop routing, as soon as its
  // library is unloaded: should a StopPlugin throw, nothing that is left
  // routes to an unloaded plug-in, and a second call goes on from there.
  while (registry.plugin_count() > 0) {
    PluginRecord &record = registry.plugin(0);
    call_plugin(kReshaping, [&] {
      if (record.StopPlugin)
        record.StopPlugin();
      platform::unload_library(record.module);
    });
    registry.release_front();
  }
  registry.clear();
  return S_OK;
}

} // namespace tavrel
