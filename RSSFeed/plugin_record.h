// One loaded plug-in: its library and the entry points it exports.
#ifndef TAVREL_PLUGIN_RECORD_H
#define TAVREL_PLUGIN_RECORD_H

#include "TavrelPlugin.h"
#include "platform.h"

// The thirteen entry points, in the order they are looked up.
#define TAVREL_ENTRY_POINTS(X)                                                 \
  X(GetPluginInfo)                                                             \
  X(GetLoginInfo)                                                              \
  X(SetLoginInfo)                                                              \
  X(SetRSSFeedInfo)                                                            \
  X(GetRSSFeedInfo)                                                            \
  X(LoadConfigInfo)                                                            \
  X(ReFresh)                                                                   \
  X(GetRSSContent)                                                             \
  X(SetCallbackInterface)                                                      \
  X(ParseFinalURL)                                                             \
  X(StopPlugin)                                                                \
  X(DeleteRSSFeed)                                                             \
  X(CallPropertyPage)

namespace tavrel {

// Owns nothing by itself: whoever releases a record unloads its library first
// (or deliberately leaves it loaded).
struct PluginRecord {
  platform::LibraryHandle module = nullptr;
#define TAVREL_ENTRY_POINT_SLOT(name) Tavrel##name##Fn name = nullptr;
  TAVREL_ENTRY_POINTS(TAVREL_ENTRY_POINT_SLOT)
#undef TAVREL_ENTRY_POINT_SLOT
  // Set once teardown has unloaded the library: the record then routes
  // nothing, and stays only until its keys are dropped.
  bool unloaded = false;
};

// Looks up every entry point of record.module; null for each one it lacks.
void bind_entry_points(PluginRecord &record);

// Calls visit(name, exported) for each entry point, in lookup order.
template <typename Visit>
void for_each_entry_point(const PluginRecord &record, Visit visit) {
#define TAVREL_VISIT_ENTRY_POINT(name) visit(#name, record.name != nullptr);
  TAVREL_ENTRY_POINTS(TAVREL_VISIT_ENTRY_POINT)
#undef TAVREL_VISIT_ENTRY_POINT
}

} // namespace tavrel

#endif
