// Calls that reach every loaded plug-in.
#ifndef TAVREL_BROADCAST_H
#define TAVREL_BROADCAST_H

#include "Tavrel.h"
#include "registry.h"

namespace tavrel {

void hand_out_callback(const Registry &registry, IRSSFeedCallback *callback);

// Calls visit(record) for each listed plug-in that offers a property page,
// in list order, up to capacity of them (none for a capacity of 0 or less).
template <typename Visit>
void for_each_page_offerer(const Registry &registry, int32_t capacity,
                           Visit visit) {
  const std::size_t listed = registry.plugin_count();
  int32_t offered = 0;
  for (std::size_t i = 0; i < listed && offered < capacity; ++i) {
    const PluginRecord &record = registry.plugin(i);
    if (record.CallPropertyPage) {
      ++offered;
      visit(record);
    }
  }
}

// Counts the plug-ins that offer a property page (pages null), or collects up
// to *count pages from them in list order and sets *count to how many.
void fill_sheet_pages(const Registry &registry, HPROPSHEETPAGE *pages,
                      int32_t &count, LanguageSetting language);

} // namespace tavrel

#endif
