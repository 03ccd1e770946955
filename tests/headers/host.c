/* Tavrel.h alone, as a host written in C includes it. */
#include "Tavrel.h"

TavrelResult tavrel_header_check_host(void);

TavrelResult tavrel_header_check_host(void) {
  int32_t count = 0;
  TavrelResult result = InitializeTavrel();
  if (result == S_PLUGIN_NONE || result == E_FAIL)
    return result;
  result |= StartTavrel();
  result |= FillSheetPage(0, &count, (LanguageSetting)0);
  result |= ReFresh("http://example.com/");
  return result | (TavrelResult)GetPluginIdentifier() | UninitializeTavrel() |
         E_PLUGIN_NOTIMPL | E_PLUGIN_NOTFOUND | S_OK | E_POINTER;
}
