// The plug-ins' working life: loading them from the folder beside the
// executable, starting them, and tearing them down.
#ifndef TAVREL_LIFECYCLE_H
#define TAVREL_LIFECYCLE_H

#include "Tavrel.h"
#include "registry.h"

namespace tavrel {

// Scans the WebPlugins folder beside the host's executable: what
// InitializeTavrel does.
TavrelResult load_plugins(Registry &registry);

// Calls every LoadConfigInfo in list order and ORs the results together;
// S_PLUGIN_NONE for an empty list.
TavrelResult start_plugins(const Registry &registry);

// Stops and unloads the listed plug-ins one by one, then empties the
// registry: what UninitializeTavrel does. Refused with E_ILLEGAL_METHOD_CALL
// from inside a plug-in call, which would return into an unloaded library.
TavrelResult tear_down(Registry &registry);

} // namespace tavrel

#endif
