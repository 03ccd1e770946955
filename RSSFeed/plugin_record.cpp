#include "plugin_record.h"

namespace tavrel {

void bind_entry_points(PluginRecord &record) {
#define TAVREL_BIND_ENTRY_POINT(name)                                          \
  record.name = reinterpret_cast<Tavrel##name##Fn>(                            \
      platform::find_symbol(record.module, #name));
  TAVREL_ENTRY_POINTS(TAVREL_BIND_ENTRY_POINT)
#undef TAVREL_BIND_ENTRY_POINT
}

} // namespace tavrel
