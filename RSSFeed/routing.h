// Choosing the plug-in that serves a feed's address.
#ifndef TAVREL_ROUTING_H
#define TAVREL_ROUTING_H

#include "Tavrel.h"
#include "plugin_call.h"
#include "registry.h"

namespace tavrel {

// The first key in key order that occurs in url decides: on a hit stores its
// record in *record and returns S_OK; otherwise returns E_PLUGIN_NOTFOUND and
// stores nothing. The index answers where one is current, the walk elsewhere.
TavrelResult find_plugin_for_url(const Registry &registry, const char *url,
                                 PluginRecord **record);

// The entry point slot of the plug-in that claims url, called with args. url
// must not be null.
template <typename Entry, typename... Args>
TavrelResult route(const Registry &registry, const char *url,
                   Entry PluginRecord::*slot, Args... args) {
  PluginRecord *record;
  TavrelResult found = find_plugin_for_url(registry, url, &record);
  if (found != S_OK)
    return found;
  Entry entry = record->*slot;
  if (!entry)
    return E_PLUGIN_NOTIMPL;
  return call_plugin(kServing, [&] { return entry(args...); });
}

} // namespace tavrel

#endif
