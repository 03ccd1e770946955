#include "routed_exports.h"

namespace tavrel {

using Arguments = RoutedArguments;

const RoutedExport kRoutedExports[8] = {
    {"GetLoginInfo", Takes::login,
     [](const Arguments &a) { return ::GetLoginInfo(a.url, a.login); }},
    {"SetLoginInfo", Takes::login,
     [](const Arguments &a) { return ::SetLoginInfo(a.url, a.login); }},
    {"SetRSSFeedInfo", Takes::feed,
     [](const Arguments &a) { return ::SetRSSFeedInfo(a.url, a.feed); }},
    {"GetRSSFeedInfo", Takes::feed,
     [](const Arguments &a) { return ::GetRSSFeedInfo(a.url, a.feed); }},
    {"ReFresh", Takes::nothing_more,
     [](const Arguments &a) { return ::ReFresh(a.url); }},
    {"GetRSSContent", Takes::nothing_more,
     [](const Arguments &a) { return ::GetRSSContent(a.url); }},
    {"ParseFinalURL", Takes::buffer_and_value,
     [](const Arguments &a) {
       return ::ParseFinalURL(a.url, a.buffer, a.value);
     }},
    {"DeleteRSSFeed", Takes::two_texts,
     [](const Arguments &a) {
       return ::DeleteRSSFeed(a.url, a.second, a.third);
     }},
};

const RoutedExport *find_routed_export(std::string_view name) {
  for (const RoutedExport &routed : kRoutedExports)
    if (name == routed.name)
      return &routed;
  return nullptr;
}

} // namespace tavrel
