/*
 * An example feed plug-in in C: news sites.
 *
 * - GetPluginInfo claims two address keys and one identifier bit.
 * - LoadConfigInfo reads "news.conf" from the plug-in's own folder, if there
 *   is one: lines "key=value"; it knows "edition".
 * - GetRSSContent, ReFresh and ParseFinalURL are the routed calls it serves.
 * - StopPlugin releases what the plug-in holds.
 *
 * Build it with tavrel_add_plugin(news news_plugin.c) and drop the result
 * into the host's WebPlugins folder.
 */
#if !defined(_WIN32)
#define _GNU_SOURCE /* dladdr */
#endif

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "TavrelPlugin.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

#define NEWS_IDENTIFIER 0x0001u

static char edition[64] = "international";
static unsigned refreshes;

/* The folder this plug-in was loaded from, ending in a separator. */
static int own_folder(char *folder, size_t size) {
#if defined(_WIN32)
  HMODULE self;
  DWORD length;
  char *end;
  if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                              GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                          (LPCSTR)(void *)own_folder, &self))
    return 0;
  length = GetModuleFileNameA(self, folder, (DWORD)size);
  if (length == 0 || length >= size)
    return 0;
  end = strrchr(folder, '\\');
#else
  Dl_info info;
  char *end;
  if (!dladdr((void *)own_folder, &info) || !info.dli_fname ||
      strlen(info.dli_fname) >= size)
    return 0;
  strcpy(folder, info.dli_fname);
  end = strrchr(folder, '/');
#endif
  if (!end)
    return 0;
  end[1] = '\0';
  return 1;
}

TAVREL_PLUGIN_API TavrelResult TAVREL_CALL GetPluginInfo(PluginInfo *info) {
  if (info->cbSize < sizeof(PluginInfo))
    return E_FAIL;
  info->dwIdentifier = NEWS_IDENTIFIER;
  strcpy(info->szKeyList, "news.example.com;news.example.org");
  return S_OK;
}

TAVREL_PLUGIN_API TavrelResult TAVREL_CALL LoadConfigInfo(void) {
  char path[1024], line[256];
  FILE *config;
  if (!own_folder(path, sizeof path - 16))
    return E_FAIL;
  strcat(path, "news.conf");
  config = fopen(path, "r");
  if (!config)
    return S_OK; /* no configuration: keep the defaults */
  while (fgets(line, sizeof line, config)) {
    if (strncmp(line, "edition=", 8) == 0) {
      size_t length = strcspn(line + 8, "\r\n");
      if (length >= sizeof edition)
        length = sizeof edition - 1;
      memcpy(edition, line + 8, length);
      edition[length] = '\0';
    }
  }
  fclose(config);
  return S_OK;
}

TAVREL_PLUGIN_API TavrelResult TAVREL_CALL GetRSSContent(const char *url) {
  printf("news: would fetch the %s edition of %s\n", edition, url);
  return S_OK;
}

TAVREL_PLUGIN_API TavrelResult TAVREL_CALL ReFresh(const char *url) {
  ++refreshes;
  printf("news: refresh %u of %s\n", refreshes, url);
  return S_OK;
}

/* Rewrites feed:// addresses to https:// ones; value is the buffer's size. */
TAVREL_PLUGIN_API TavrelResult TAVREL_CALL ParseFinalURL(const char *url,
                                                         char *buffer,
                                                         int32_t value) {
  const char *rest = strncmp(url, "feed://", 7) == 0 ? url + 7 : NULL;
  int written;
  if (!buffer || value <= 0)
    return E_POINTER;
  written = rest ? snprintf(buffer, (size_t)value, "https://%s", rest)
                 : snprintf(buffer, (size_t)value, "%s", url);
  return written >= 0 && written < value ? S_OK : E_FAIL;
}

TAVREL_PLUGIN_API TavrelResult TAVREL_CALL StopPlugin(void) {
  refreshes = 0;
  return S_OK;
}
