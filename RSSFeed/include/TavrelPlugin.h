/*
 * TavrelPlugin.h - the contract between Tavrel and its feed plug-ins.
 *
 * A plug-in is a shared library in the "WebPlugins" folder beside the host's
 * executable. Tavrel binds it by the plain names of the entry points below and
 * nothing else. Only GetPluginInfo is required; every other entry point may be
 * left out, and Tavrel then passes the plug-in over (broadcasts) or answers
 * E_PLUGIN_NOTIMPL for it (routed calls).
 *
 * Each entry point is written with the two macros of this header:
 *
 *     TAVREL_PLUGIN_API TavrelResult TAVREL_CALL
 *     GetPluginInfo(PluginInfo *info)
 *     {
 *         info->dwIdentifier = 0x10;
 *         strcpy(info->szKeyList, "example.com;example.org");
 *         return 0;
 *     }
 *
 * Every entry point is called on the host's thread that called the matching
 * Tavrel export. Pointers handed to a plug-in stay the host's: they are valid
 * for the duration of the call only.
 *
 * This header is plain C, compiles as C99 and as C++, and needs no other
 * include path.
 */
#ifndef TAVREL_PLUGIN_H
#define TAVREL_PLUGIN_H

#define TAVREL_TYPES_ONLY
#include "Tavrel.h"
#undef TAVREL_TYPES_ONLY

/* Marks a plug-in entry point for export under its plain name. On ELF the
 * definition is also bound inside the plug-in (protected visibility), so that a
 * plug-in calling its own ReFresh never reaches Tavrel's export of that name.
 */
#ifndef TAVREL_PLUGIN_API
#if defined(_WIN32)
#define TAVREL_PLUGIN_API TAVREL_EXTERN_C __declspec(dllexport)
#elif defined(__GNUC__)
#define TAVREL_PLUGIN_API                                                      \
  TAVREL_EXTERN_C __attribute__((visibility("protected")))
#else
#define TAVREL_PLUGIN_API TAVREL_EXTERN_C
#endif
#endif

/* Size of PluginInfo.szKeyList in bytes, terminating NUL included. */
#define TAVREL_KEY_LIST_SIZE 260

/* What a plug-in tells Tavrel about itself when it is loaded. Tavrel zero-fills
 * the record and sets cbSize before it calls GetPluginInfo. */
typedef struct PluginInfo {
  uint32_t cbSize;       /* 268, set by Tavrel */
  uint32_t dwIdentifier; /* the plug-in's identifier bits, OR-ed into
                            GetPluginIdentifier() */
  char szKeyList[TAVREL_KEY_LIST_SIZE]; /* address keys separated by ";" and
                                           ended by a NUL byte */
} PluginInfo;

/* The record's layout is part of the ABI: offsets 0, 4 and 8, 268 bytes. */
typedef char tavrel_plugin_info_size_check[sizeof(PluginInfo) == 268 ? 1 : -1];

/* Required. Called once per load with a zero-filled record whose cbSize is 268.
 * Return 0 to accept the plug-in, after filling dwIdentifier and szKeyList; any
 * other value rejects it, and Tavrel unloads the library again. */
typedef TavrelResult(TAVREL_CALL *TavrelGetPluginInfoFn)(PluginInfo *info);

/* StartTavrel: load the plug-in's configuration. The results of all plug-ins
 * are OR-ed into StartTavrel's result. */
typedef TavrelResult(TAVREL_CALL *TavrelLoadConfigInfoFn)(void);

/* SetCallbackInterface: the host's callback object, possibly null. Tavrel does
 * not keep it; the result is ignored. */
typedef TavrelResult(TAVREL_CALL *TavrelSetCallbackInterfaceFn)(
    IRSSFeedCallback *callback);

/* FillSheetPage: write one property sheet page handle through *page (Tavrel
 * sets it to null first); the result is ignored. */
typedef TavrelResult(TAVREL_CALL *TavrelCallPropertyPageFn)(
    HPROPSHEETPAGE *page, LanguageSetting language);

/* UninitializeTavrel: stop all work; the library is unloaded right after. The
 * result is ignored. */
typedef TavrelResult(TAVREL_CALL *TavrelStopPluginFn)(void);

/* The routed calls. Tavrel picks the plug-in by the feed's address and hands
 * the plug-in's result back to the host unchanged. The two login calls get the
 * record only, not the address. */
typedef TavrelResult(TAVREL_CALL *TavrelGetLoginInfoFn)(LoginInfo *login);
typedef TavrelResult(TAVREL_CALL *TavrelSetLoginInfoFn)(const LoginInfo *login);
typedef TavrelResult(TAVREL_CALL *TavrelSetRSSFeedInfoFn)(
    const char *url, const RSSFeedInfo *feed);
typedef TavrelResult(TAVREL_CALL *TavrelGetRSSFeedInfoFn)(const char *url,
                                                          RSSFeedInfo *feed);
typedef TavrelResult(TAVREL_CALL *TavrelReFreshFn)(const char *url);
typedef TavrelResult(TAVREL_CALL *TavrelGetRSSContentFn)(const char *url);
typedef TavrelResult(TAVREL_CALL *TavrelParseFinalURLFn)(const char *url,
                                                         char *buffer,
                                                         int32_t value);
typedef TavrelResult(TAVREL_CALL *TavrelDeleteRSSFeedFn)(const char *url,
                                                         const char *second,
                                                         const char *third);

#endif /* TAVREL_PLUGIN_H */
