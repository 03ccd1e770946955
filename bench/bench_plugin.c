/* The plug-in the lifecycle benchmark copies many times: each copy, named
 * pNNNN.so, claims 30 keys made from its name (pNNNN00 to pNNNN29), as a
 * plug-in with many site patterns does. */
#define _GNU_SOURCE /* dladdr */
#include <dlfcn.h>
#include <stdio.h>
#include <string.h>

#include "TavrelPlugin.h"

TAVREL_PLUGIN_API TavrelResult TAVREL_CALL GetPluginInfo(PluginInfo *info) {
  Dl_info self;
  const char *name, *slash;
  size_t used = 0;
  int key;
  if (!dladdr((void *)GetPluginInfo, &self) || !self.dli_fname)
    return E_FAIL;
  slash = strrchr(self.dli_fname, '/');
  name = slash ? slash + 1 : self.dli_fname;
  for (key = 0; key < 30; ++key)
    used +=
        (size_t)snprintf(info->szKeyList + used, sizeof info->szKeyList - used,
                         "%.5s%02d;", name, key);
  return S_OK;
}

TAVREL_PLUGIN_API TavrelResult TAVREL_CALL StopPlugin(void) { return S_OK; }

TAVREL_PLUGIN_API TavrelResult TAVREL_CALL ReFresh(const char *url) {
  return url ? S_OK : E_POINTER;
}
