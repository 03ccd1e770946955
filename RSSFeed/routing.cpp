#include "routing.h"

#include <cstring>

namespace tavrel {

TavrelResult find_plugin_for_url(const Registry &registry, const char *url,
                                 PluginRecord **record) {
  for (const auto &[key, claimant] : registry.routes()) {
    if (std::strstr(url, key.c_str())) {
      *record = claimant;
      return S_OK;
    }
  }
  return E_PLUGIN_NOTFOUND;
}

} // namespace tavrel
