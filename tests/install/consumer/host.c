/* A minimal host: loads the plug-ins beside it and asks for one feed. */
#include <stdio.h>

#include "Tavrel.h"

int main(void) {
  TavrelResult result = InitializeTavrel();
  if (result != S_OK) {
    printf("InitializeTavrel: 0x%08lx\n", (unsigned long)(uint32_t)result);
    return 1;
  }
  result = GetRSSContent("https://selfcall.example/feed");
  UninitializeTavrel();
  /* The plug-in answers with what its own ReFresh returns. */
  if (result != 0x5E1F) {
    printf("GetRSSContent: 0x%08lx\n", (unsigned long)(uint32_t)result);
    return 1;
  }
  puts("host reached the plug-in through Tavrel");
  return 0;
}
