#include "broadcast.h"

namespace tavrel {

void hand_out_callback(const Registry &registry, IRSSFeedCallback *callback) {
  for (const auto &record : registry.plugins()) {
    if (record->SetCallbackInterface)
      record->SetCallbackInterface(callback);
  }
}

void fill_sheet_pages(const Registry &registry, HPROPSHEETPAGE *pages,
                      int32_t &count, LanguageSetting language) {
  const int32_t capacity = pages ? count : 0;
  int32_t filled = 0;
  for (const auto &record : registry.plugins()) {
    if (!record->CallPropertyPage)
      continue;
    if (!pages) {
      ++filled;
    } else if (filled < capacity) {
      // A plug-in that writes nothing leaves a null page, not stack garbage.
      HPROPSHEETPAGE page = nullptr;
      record->CallPropertyPage(&page, language);
      pages[filled++] = page;
    }
  }
  count = filled;
}

} // namespace tavrel
