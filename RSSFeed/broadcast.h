// Calls that reach every loaded plug-in.
#ifndef TAVREL_BROADCAST_H
#define TAVREL_BROADCAST_H

#include "Tavrel.h"
#include "registry.h"

namespace tavrel {

void hand_out_callback(const Registry &registry, IRSSFeedCallback *callback);

// Counts the plug-ins that offer a property page (pages null), or collects up
// to *count pages from them in list order and sets *count to how many.
void fill_sheet_pages(const Registry &registry, HPROPSHEETPAGE *pages,
                      int32_t &count, LanguageSetting language);

} // namespace tavrel

#endif
