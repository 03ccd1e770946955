// Starting the loaded plug-ins and tearing them down.
#ifndef TAVREL_LIFECYCLE_H
#define TAVREL_LIFECYCLE_H

#include "Tavrel.h"
#include "registry.h"

namespace tavrel {

// Calls every LoadConfigInfo in list order and ORs the results together;
// S_PLUGIN_NONE for an empty list.
TavrelResult start_plugins(const Registry &registry);

// Stops and unloads the listed plug-ins one by one, then empties the registry.
void stop_plugins(Registry &registry);

} // namespace tavrel

#endif
