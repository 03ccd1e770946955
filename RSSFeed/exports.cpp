// The fourteen exports: thin doors into the core, all working on the one
// library-wide registry.
#include "Tavrel.h"
#include "broadcast.h"
#include "lifecycle.h"
#include "routing.h"

using tavrel::global_registry;
using tavrel::PluginRecord;

namespace {

template <typename Entry, typename... Args>
TavrelResult route_call(const char *url, Entry PluginRecord::*slot,
                        Args... args) {
  if (!url)
    return E_POINTER;
  return tavrel::route(global_registry(), url, slot, args...);
}

} // namespace

TAVREL_API TavrelResult TAVREL_CALL InitializeTavrel(void) {
  return tavrel::load_plugins(global_registry());
}

TAVREL_API TavrelResult TAVREL_CALL StartTavrel(void) {
  return tavrel::start_plugins(global_registry());
}

TAVREL_API TavrelResult TAVREL_CALL UninitializeTavrel(void) {
  return tavrel::tear_down(global_registry());
}

TAVREL_API TavrelResult TAVREL_CALL GetLoginInfo(const char *url,
                                                 LoginInfo *login) {
  return route_call(url, &PluginRecord::GetLoginInfo, login);
}

TAVREL_API TavrelResult TAVREL_CALL SetLoginInfo(const char *url,
                                                 const LoginInfo *login) {
  return route_call(url, &PluginRecord::SetLoginInfo, login);
}

TAVREL_API TavrelResult TAVREL_CALL SetRSSFeedInfo(const char *url,
                                                   const RSSFeedInfo *feed) {
  return route_call(url, &PluginRecord::SetRSSFeedInfo, url, feed);
}

TAVREL_API TavrelResult TAVREL_CALL GetRSSFeedInfo(const char *url,
                                                   RSSFeedInfo *feed) {
  return route_call(url, &PluginRecord::GetRSSFeedInfo, url, feed);
}

TAVREL_API TavrelResult TAVREL_CALL ReFresh(const char *url) {
  return route_call(url, &PluginRecord::ReFresh, url);
}

TAVREL_API TavrelResult TAVREL_CALL GetRSSContent(const char *url) {
  return route_call(url, &PluginRecord::GetRSSContent, url);
}

TAVREL_API TavrelResult TAVREL_CALL ParseFinalURL(const char *url, char *buffer,
                                                  int32_t value) {
  return route_call(url, &PluginRecord::ParseFinalURL, url, buffer, value);
}

TAVREL_API TavrelResult TAVREL_CALL DeleteRSSFeed(const char *url,
                                                  const char *second,
                                                  const char *third) {
  return route_call(url, &PluginRecord::DeleteRSSFeed, url, second, third);
}

TAVREL_API TavrelResult TAVREL_CALL
SetCallbackInterface(IRSSFeedCallback *callback) {
  tavrel::hand_out_callback(global_registry(), callback);
  return S_OK;
}

TAVREL_API TavrelResult TAVREL_CALL FillSheetPage(HPROPSHEETPAGE *pages,
                                                  int32_t *count,
                                                  LanguageSetting language) {
  if (!count)
    return E_POINTER;
  tavrel::fill_sheet_pages(global_registry(), pages, *count, language);
  return S_OK;
}

TAVREL_API uint32_t TAVREL_CALL GetPluginIdentifier(void) {
  return global_registry().identifier_word();
}
