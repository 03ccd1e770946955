/* A plug-in written in C99 against TavrelPlugin.h alone. The loader tests load
 * it, which shows that the export macros bind its entry points by their plain
 * names. */
#include <string.h>

#include "TavrelPlugin.h"

TAVREL_PLUGIN_API TavrelResult TAVREL_CALL GetPluginInfo(PluginInfo *info) {
  if (info->cbSize != sizeof(PluginInfo))
    return E_FAIL;
  info->dwIdentifier = 0x8000;
  strcpy(info->szKeyList, "c-plugin.example");
  return S_OK;
}

/* Answers with the length of the address it was given. */
TAVREL_PLUGIN_API TavrelResult TAVREL_CALL GetRSSContent(const char *url) {
  return (TavrelResult)strlen(url);
}
