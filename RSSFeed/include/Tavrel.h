/*
 * Tavrel.h - the host interface of Tavrel.
 *
 * Tavrel is the switchboard between a host application that works with RSS
 * feeds and the feed plug-ins in the "WebPlugins" folder beside the host's
 * executable. A host calls InitializeTavrel once to load the plug-ins,
 * StartTavrel to let them load their configuration, the per-feed calls as it
 * needs them, and UninitializeTavrel before it unloads Tavrel.
 *
 * Every export runs to completion on the caller's thread; Tavrel starts no
 * thread and keeps no lock. InitializeTavrel and UninitializeTavrel must not
 * run at the same time as any other export. Whatever the host passes in stays
 * the host's; Tavrel keeps none of it beyond the call.
 *
 * Tavrel reports failures only through result codes. It logs nothing, and does
 * not catch what a plug-in raises during a routed call or a broadcast.
 *
 * This header is plain C, compiles as C99 and as C++, and needs no other
 * include path.
 */
#ifndef TAVREL_TYPES_H
#define TAVREL_TYPES_H

#include <stdint.h>

#if defined(_WIN32)
#include <windows.h>
/* after windows.h, which it needs */
#include <prsht.h>
#endif

#ifdef __cplusplus
#define TAVREL_EXTERN_C extern "C"
#else
#define TAVREL_EXTERN_C
#endif

/* Calling convention of every export and every plug-in entry point. */
#ifndef TAVREL_CALL
#if defined(_WIN32) && (defined(_M_IX86) || defined(__i386__))
#define TAVREL_CALL __cdecl
#else
#define TAVREL_CALL
#endif
#endif

/* Linkage of Tavrel's own exports. */
#ifndef TAVREL_API
#if defined(_WIN32) && defined(TAVREL_BUILD)
#define TAVREL_API TAVREL_EXTERN_C __declspec(dllexport)
#elif defined(_WIN32)
#define TAVREL_API TAVREL_EXTERN_C __declspec(dllimport)
#elif defined(__GNUC__) && defined(TAVREL_BUILD)
#define TAVREL_API TAVREL_EXTERN_C __attribute__((visibility("default")))
#else
#define TAVREL_API TAVREL_EXTERN_C
#endif
#endif

/* A 32-bit signed result in the platform's status-code form: negative values
 * are failures. */
#if defined(_WIN32)
typedef HRESULT TavrelResult;
#else
typedef int32_t TavrelResult;
#endif

#ifndef S_OK
#define S_OK ((TavrelResult)0)
#endif
#ifndef E_FAIL
#define E_FAIL ((TavrelResult)0x80004005L)
#endif
#ifndef E_POINTER
#define E_POINTER ((TavrelResult)0x80004003L)
#endif
/* No plug-in folder, nothing in it to load, or no plug-in loaded. The sign bit
 * is clear: a caller that only tests for failure sees success. */
#define S_PLUGIN_NONE ((TavrelResult)0x000805E9L)
/* The plug-in that claims the address lacks the entry point. */
#define E_PLUGIN_NOTIMPL ((TavrelResult)0x800805EEL)
/* No plug-in key occurs in the address. */
#define E_PLUGIN_NOTFOUND ((TavrelResult)0x800805EFL)

/* Types that host and plug-ins share and Tavrel only passes on. Their layouts
 * and values are theirs to define. */
typedef struct LoginInfo LoginInfo;
typedef struct RSSFeedInfo RSSFeedInfo;
typedef struct IRSSFeedCallback IRSSFeedCallback;
typedef int32_t LanguageSetting;
#if !defined(_WIN32)
typedef struct TavrelPropSheetPage *HPROPSHEETPAGE;
#endif

#endif /* TAVREL_TYPES_H */

#if !defined(TAVREL_TYPES_ONLY) && !defined(TAVREL_H)
#define TAVREL_H

/* ---- Lifecycle ---------------------------------------------------------- */

/* Loads every library in the WebPlugins folder beside the host's executable and
 * registers those whose GetPluginInfo accepts. Libraries that fail to load or
 * reject themselves are skipped silently. Calling it again without
 * UninitializeTavrel loads every plug-in once more.
 * Returns S_OK after a completed scan (also when nothing was accepted),
 * S_PLUGIN_NONE when the folder holds no candidate or cannot be searched, and
 * E_FAIL when the executable's path cannot be had or the scan was cut short by
 * an exception; plug-ins accepted before that stay registered. */
TAVREL_API TavrelResult TAVREL_CALL InitializeTavrel(void);

/* Calls every plug-in's LoadConfigInfo, in load order, and returns the bitwise
 * OR of their results: 0 when all returned 0, negative when one failed.
 * Returns S_PLUGIN_NONE when no plug-in is loaded. */
TAVREL_API TavrelResult TAVREL_CALL StartTavrel(void);

/* Stops (StopPlugin) and unloads every plug-in, one after the other, and
 * empties the registry. Always returns S_OK. Call it before unloading Tavrel.
 */
TAVREL_API TavrelResult TAVREL_CALL UninitializeTavrel(void);

/* ---- Per-feed calls ------------------------------------------------------
 * Each forwards to the entry point of the same name of the plug-in that claims
 * url: the one whose key occurs in url and sorts first (byte-wise). The
 * plug-in's result comes back unchanged. Each returns E_PLUGIN_NOTFOUND when
 * no key occurs in url, E_PLUGIN_NOTIMPL when the claiming plug-in lacks the
 * entry point (no other plug-in is tried), and E_POINTER when url is null.
 * url is a NUL-terminated byte string, matched byte for byte. */

/* Forwards login only, not url: the plug-in fills it. */
TAVREL_API TavrelResult TAVREL_CALL GetLoginInfo(const char *url,
                                                 LoginInfo *login);
/* Forwards login only, not url. */
TAVREL_API TavrelResult TAVREL_CALL SetLoginInfo(const char *url,
                                                 const LoginInfo *login);
/* Forwards url and feed. */
TAVREL_API TavrelResult TAVREL_CALL SetRSSFeedInfo(const char *url,
                                                   const RSSFeedInfo *feed);
/* Forwards url and feed; the plug-in fills feed. */
TAVREL_API TavrelResult TAVREL_CALL GetRSSFeedInfo(const char *url,
                                                   RSSFeedInfo *feed);
/* Forwards url. */
TAVREL_API TavrelResult TAVREL_CALL ReFresh(const char *url);
/* Forwards url. */
TAVREL_API TavrelResult TAVREL_CALL GetRSSContent(const char *url);
/* Forwards url, buffer and value; buffer and value mean what host and plug-in
 * agree on. */
TAVREL_API TavrelResult TAVREL_CALL ParseFinalURL(const char *url, char *buffer,
                                                  int32_t value);
/* Forwards url and the two further texts. */
TAVREL_API TavrelResult TAVREL_CALL DeleteRSSFeed(const char *url,
                                                  const char *second,
                                                  const char *third);

/* ---- Broadcasts and queries --------------------------------------------- */

/* Hands callback (null included) to every plug-in's SetCallbackInterface, in
 * load order. Tavrel does not keep it: plug-ins loaded later get it only when
 * the host calls again. Always returns S_OK. */
TAVREL_API TavrelResult TAVREL_CALL
SetCallbackInterface(IRSSFeedCallback *callback);

/* Collects one property sheet page from each plug-in that has
 * CallPropertyPage, in load order.
 * pages null: sets *count to the number of such plug-ins and calls none.
 * pages non-null: *count is the array's capacity; fills pages[0..n) from the
 * first n such plug-ins (those past the capacity are not called) and sets
 * *count to n. The pages stay the host's to show and destroy.
 * Returns S_OK, or E_POINTER when count is null. */
TAVREL_API TavrelResult TAVREL_CALL FillSheetPage(HPROPSHEETPAGE *pages,
                                                  int32_t *count,
                                                  LanguageSetting language);

/* The OR of the identifier bits of every plug-in accepted since Tavrel was
 * loaded; UninitializeTavrel does not clear it. 0 before any is accepted. */
TAVREL_API uint32_t TAVREL_CALL GetPluginIdentifier(void);

#endif /* TAVREL_H */
