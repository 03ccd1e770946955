// The eight routed exports by name, for the tools that call them so: each
// with what it takes beyond the address.
#ifndef TAVREL_ROUTED_EXPORTS_H
#define TAVREL_ROUTED_EXPORTS_H

#include <string_view>

#include "Tavrel.h"

namespace tavrel {

enum class Takes {
  nothing_more,
  login,            // a LoginInfo record
  feed,             // an RSSFeedInfo record
  buffer_and_value, // a writable character buffer and an integer
  two_texts,
};

// Everything any routed export takes; each reads the members it needs.
struct RoutedArguments {
  const char *url = nullptr;
  LoginInfo *login = nullptr;
  RSSFeedInfo *feed = nullptr;
  char *buffer = nullptr;
  int32_t value = 0;
  const char *second = nullptr;
  const char *third = nullptr;
};

struct RoutedExport {
  const char *name;
  Takes takes;
  TavrelResult (*call)(const RoutedArguments &arguments);
};

extern const RoutedExport kRoutedExports[8];

// The routed export of that name, or null.
const RoutedExport *find_routed_export(std::string_view name);

} // namespace tavrel

#endif
