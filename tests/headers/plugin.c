/* TavrelPlugin.h alone, as a plug-in written in C includes it. With
 * WRONG_SIGNATURE its ReFresh takes other parameters than the header's, which
 * must not compile. */
#include "TavrelPlugin.h"

TAVREL_PLUGIN_API TavrelResult TAVREL_CALL GetPluginInfo(PluginInfo *info) {
  info->dwIdentifier = (uint32_t)sizeof(PluginInfo);
  return S_OK;
}

#ifdef WRONG_SIGNATURE
TAVREL_PLUGIN_API TavrelResult TAVREL_CALL ReFresh(int a, int b, double c) {
  return a + b + (int)c;
}
#else
TAVREL_PLUGIN_API TavrelResult TAVREL_CALL ReFresh(const char *url) {
  return url ? E_PLUGIN_NOTIMPL : E_POINTER;
}
#endif
