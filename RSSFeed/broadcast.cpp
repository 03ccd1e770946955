#include "broadcast.h"

#include <limits>

#include "plugin_call.h"

namespace tavrel {

void hand_out_callback(const Registry &registry, IRSSFeedCallback *callback) {
  const std::size_t listed = registry.plugin_count();
  for (std::size_t i = 0; i < listed; ++i) {
    const PluginRecord &record = registry.plugin(i);
    if (record.SetCallbackInterface)
      call_plugin(kServing,
                  [&] { return record.SetCallbackInterface(callback); });
  }
}

void fill_sheet_pages(const Registry &registry, HPROPSHEETPAGE *pages,
                      int32_t &count, LanguageSetting language) {
  int32_t filled = 0;
  if (!pages) {
    for_each_page_offerer(registry, std::numeric_limits<int32_t>::max(),
                          [&](const PluginRecord &) { ++filled; });
  } else {
    for_each_page_offerer(registry, count, [&](const PluginRecord &record) {
      // A plug-in that writes nothing leaves a null page, not stack garbage.
      HPROPSHEETPAGE page = nullptr;
      call_plugin(kServing,
                  [&] { return record.CallPropertyPage(&page, language); });
      pages[filled++] = page;
    });
  }
  count = filled;
}

} // namespace tavrel
