/* Both headers in one translation unit, in the order PLUGIN_FIRST picks:
 * either way the compiler must stop with the headers' own message. */
#ifdef PLUGIN_FIRST
#include "Tavrel.h"
#include "TavrelPlugin.h"
#else
#include "Tavrel.h"
#include "TavrelPlugin.h"
#endif
