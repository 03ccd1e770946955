/* Both headers, in either order, in one translation unit. */
#include "Tavrel.h"
#include "TavrelPlugin.h"

TavrelGetPluginInfoFn tavrel_header_check_both = 0;
