#include "routing.h"

#include <cstdint>
#include <string.h>

namespace tavrel {

TavrelResult find_plugin_for_url(const Registry &registry, const char *url,
                                 PluginRecord **record) {
  PluginRecord *claimant;
  const RouteIndex *index = registry.index();
  const std::size_t below = registry.index_below();
  if (index && (below == SIZE_MAX || strnlen(url, below) < below)) {
    std::uint32_t rank = index->find(url);
    if (rank == RouteIndex::kNone)
      return E_PLUGIN_NOTFOUND;
    claimant = registry.routes().record(rank);
  } else {
    claimant = registry.routes().walk(url);
    if (!claimant)
      return E_PLUGIN_NOTFOUND;
  }
  *record = claimant;
  return S_OK;
}

} // namespace tavrel
