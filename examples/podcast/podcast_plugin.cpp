// An example feed plug-in in C++: podcast hosts.
//
// - GetPluginInfo claims one address key and one identifier bit.
// - LoadConfigInfo sets up the plug-in's state; StopPlugin tears it down.
// - SetCallbackInterface keeps the host's callback object for later use.
// - SetRSSFeedInfo, GetRSSContent and DeleteRSSFeed are the routed calls it
//   serves; it remembers which feeds the host asked about.
// - CallPropertyPage offers a settings page on Windows.
//
// Build it with tavrel_add_plugin(podcast podcast_plugin.cpp).
#include <cstdio>
#include <cstring>
#include <memory>
#include <set>
#include <string>

#include "TavrelPlugin.h"

#if defined(_WIN32)
#include <commctrl.h>
#endif

namespace {

struct PodcastState {
  IRSSFeedCallback *host = nullptr;
  std::set<std::string> feeds;
};

std::unique_ptr<PodcastState> state;

} // namespace

TAVREL_PLUGIN_API TavrelResult TAVREL_CALL GetPluginInfo(PluginInfo *info) {
  if (info->cbSize < sizeof(PluginInfo))
    return E_FAIL;
  info->dwIdentifier = 0x0002;
  std::strcpy(info->szKeyList, "podcasts.example.net");
  return S_OK;
}

TAVREL_PLUGIN_API TavrelResult TAVREL_CALL LoadConfigInfo(void) {
  state = std::make_unique<PodcastState>();
  return S_OK;
}

TAVREL_PLUGIN_API TavrelResult TAVREL_CALL
SetCallbackInterface(IRSSFeedCallback *callback) {
  if (state)
    state->host = callback;
  return S_OK;
}

TAVREL_PLUGIN_API TavrelResult TAVREL_CALL SetRSSFeedInfo(const char *url,
                                                          const RSSFeedInfo *) {
  if (!state)
    return E_FAIL; // StartTavrel has not run
  state->feeds.insert(url);
  return S_OK;
}

TAVREL_PLUGIN_API TavrelResult TAVREL_CALL GetRSSContent(const char *url) {
  if (!state)
    return E_FAIL;
  state->feeds.insert(url);
  std::printf("podcast: would fetch the episode list of %s (%zu feeds)\n", url,
              state->feeds.size());
  return S_OK;
}

TAVREL_PLUGIN_API TavrelResult TAVREL_CALL DeleteRSSFeed(const char *url,
                                                         const char *,
                                                         const char *) {
  if (!state)
    return E_FAIL;
  state->feeds.erase(url);
  return S_OK;
}

#if defined(_WIN32)
namespace {

// An empty dialog, built in memory, for the page to show.
struct PageTemplate {
  DLGTEMPLATE dialog;
  WORD menu, window_class, title;
};

} // namespace

TAVREL_PLUGIN_API TavrelResult TAVREL_CALL
CallPropertyPage(HPROPSHEETPAGE *page, LanguageSetting) {
  static PageTemplate page_template = {
      {WS_CHILD | DS_CONTROL, 0, 0, 0, 0, 200, 100}, 0, 0, 0};
  PROPSHEETPAGEA sheet = {};
  sheet.dwSize = sizeof sheet;
  sheet.dwFlags = PSP_DLGINDIRECT | PSP_USETITLE;
  sheet.pResource = &page_template.dialog;
  sheet.pszTitle = "Podcasts";
  *page = CreatePropertySheetPageA(&sheet);
  return *page ? S_OK : E_FAIL;
}
#endif

TAVREL_PLUGIN_API TavrelResult TAVREL_CALL StopPlugin(void) {
  state.reset();
  return S_OK;
}
