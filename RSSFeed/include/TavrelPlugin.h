/*
 * TavrelPlugin.h - the contract between Tavrel and its feed plug-ins.
 *
 * A plug-in is a shared library in the "WebPlugins" folder beside the host's
 * executable. Tavrel binds it by the plain names of the entry points below and
 * nothing else. Only GetPluginInfo is required; every other entry point may be
 * left out, and Tavrel then passes the plug-in over (broadcasts) or answers
 * E_PLUGIN_NOTIMPL for it (routed calls).
 *
 * Each entry point a plug-in defines is written with the two macros of this
 * header, and must match its declaration below, or the plug-in does not
 * compile:
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
 * for the duration of the call only. An entry point may call Tavrel's exports
 * (see Tavrel.h for the lifecycle calls it refuses), through a pointer it
 * looked up at run time: this header does not declare them.
 *
 * Exceptions: a C++ exception that a plug-in built with tavrel_add_plugin()
 * lets out of an entry point reaches Tavrel as the platform's own: on Windows,
 * the kit turns it into a structured exception (code 0xE0435458), which ends
 * a scan with E_FAIL and which the host can handle elsewhere. A plug-in built
 * without the kit must not let one out: across MinGW modules it ends the host.
 *
 * This header includes Tavrel.h for the result codes and the types host and
 * plug-ins share, without the host's exports; a translation unit includes
 * one of the two headers, never both. It is plain C and compiles as C99 and
 * as C++.
 */
#ifndef TAVREL_PLUGIN_H
#define TAVREL_PLUGIN_H

#if defined(TAVREL_H) && !defined(TAVREL_BUILD)
#error "TavrelPlugin.h is the plug-ins' header: do not include Tavrel.h too"
#endif
#include "Tavrel.h"

/* Marks a plug-in entry point for export under its plain name, with C linkage
 * (so that a C++ definition with other parameters clashes with its declaration
 * instead of overloading it). On ELF the definition is also bound inside the
 * plug-in (protected visibility), so that a plug-in calling its own ReFresh
 * never reaches Tavrel's export of that name. */
#ifndef TAVREL_PLUGIN_API
#ifdef __cplusplus
#define TAVREL_PLUGIN_LINKAGE extern "C"
#else
#define TAVREL_PLUGIN_LINKAGE
#endif
#if defined(_WIN32)
#define TAVREL_PLUGIN_API TAVREL_PLUGIN_LINKAGE __declspec(dllexport)
#elif defined(__GNUC__)
#define TAVREL_PLUGIN_API                                                      \
  TAVREL_PLUGIN_LINKAGE __attribute__((visibility("protected")))
#else
#define TAVREL_PLUGIN_API TAVREL_PLUGIN_LINKAGE
#endif
#endif

#ifdef __cplusplus
extern "C" {
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

/* The entry points, each as the type Tavrel calls it through. */

/* Required. Called once per load with a zero-filled record whose cbSize is 268.
 * Return 0 to accept the plug-in, after filling dwIdentifier and szKeyList
 * (keys separated by ";", matched byte for byte; an empty key claims every
 * address); any other value rejects it, and Tavrel unloads the library again.
 */
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

/* The entry points as a plug-in defines them. Tavrel itself (TAVREL_BUILD)
 * declares none: it exports host functions of these names. */
#if !defined(TAVREL_BUILD)
TAVREL_PLUGIN_API TavrelResult TAVREL_CALL GetPluginInfo(PluginInfo *info);
TAVREL_PLUGIN_API TavrelResult TAVREL_CALL LoadConfigInfo(void);
TAVREL_PLUGIN_API TavrelResult TAVREL_CALL
SetCallbackInterface(IRSSFeedCallback *callback);
TAVREL_PLUGIN_API TavrelResult TAVREL_CALL
CallPropertyPage(HPROPSHEETPAGE *page, LanguageSetting language);
TAVREL_PLUGIN_API TavrelResult TAVREL_CALL StopPlugin(void);
TAVREL_PLUGIN_API TavrelResult TAVREL_CALL GetLoginInfo(LoginInfo *login);
TAVREL_PLUGIN_API TavrelResult TAVREL_CALL SetLoginInfo(const LoginInfo *login);
TAVREL_PLUGIN_API TavrelResult TAVREL_CALL
SetRSSFeedInfo(const char *url, const RSSFeedInfo *feed);
TAVREL_PLUGIN_API TavrelResult TAVREL_CALL GetRSSFeedInfo(const char *url,
                                                          RSSFeedInfo *feed);
TAVREL_PLUGIN_API TavrelResult TAVREL_CALL ReFresh(const char *url);
TAVREL_PLUGIN_API TavrelResult TAVREL_CALL GetRSSContent(const char *url);
TAVREL_PLUGIN_API TavrelResult TAVREL_CALL ParseFinalURL(const char *url,
                                                         char *buffer,
                                                         int32_t value);
TAVREL_PLUGIN_API TavrelResult TAVREL_CALL DeleteRSSFeed(const char *url,
                                                         const char *second,
                                                         const char *third);
#endif

#ifdef __cplusplus
}
#endif

#endif /* TAVREL_PLUGIN_H */
