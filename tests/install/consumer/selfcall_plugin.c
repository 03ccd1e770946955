/* A plug-in whose GetRSSContent calls its own ReFresh. Should that call bind
 * to Tavrel's export of the same name, it would come back E_PLUGIN_NOTFOUND
 * instead of 0x5E1F. */
#include <string.h>

#include "TavrelPlugin.h"

TAVREL_PLUGIN_API TavrelResult TAVREL_CALL GetPluginInfo(PluginInfo *info) {
  strcpy(info->szKeyList, "selfcall.example");
  return S_OK;
}

TAVREL_PLUGIN_API TavrelResult TAVREL_CALL ReFresh(const char *url) {
  (void)url;
  return 0x5E1F;
}

TAVREL_PLUGIN_API TavrelResult TAVREL_CALL GetRSSContent(const char *url) {
  (void)url;
  return ReFresh("an address no plug-in claims");
}
