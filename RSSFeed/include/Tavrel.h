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
 * Plug-ins include TavrelPlugin.h instead. It includes this header for the
 * types and result codes, and this header then leaves out the host's exports:
 * a plug-in defines entry points of the same names, two of them (GetLoginInfo,
 * SetLoginInfo) with other parameters. So one translation unit includes one of
 * the two headers, never both.
 *
 * This header is plain C and compiles as C99 and as C++. On Windows it needs
 * <windows.h> and <prsht.h> (HRESULT, HPROPSHEETPAGE), and nothing else.
 */
#if defined(TAVREL_H) && defined(TAVREL_PLUGIN_H) && !defined(TAVREL_BUILD)
#error "Tavrel.h is the host's header: a plug-in includes TavrelPlugin.h only"
#endif

#ifndef TAVREL_H
#define TAVREL_H

#include <stdint.h>

#if defined(_WIN32)
#include <windows.h>
/* after windows.h, which it needs */
#include <prsht.h>
#endif

/* Calling convention of every export and every plug-in entry point. */
#ifndef TAVREL_CALL
#if defined(_WIN32) && (defined(_M_IX86) || defined(__i386__))
#define TAVREL_CALL __cdecl
#else
#define TAVREL_CALL
#endif
#endif

/* Linkage of Tavrel's own exports: imported by hosts, exported by the library
 * (built with TAVREL_BUILD). */
#ifndef TAVREL_API
#if defined(_WIN32) && defined(TAVREL_BUILD)
#define TAVREL_API __declspec(dllexport)
#elif defined(_WIN32)
#define TAVREL_API __declspec(dllimport)
#elif defined(__GNUC__) && defined(TAVREL_BUILD)
#define TAVREL_API __attribute__((visibility("default")))
#else
#define TAVREL_API
#endif
#endif

#ifdef __cplusplus
extern "C" {
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
/* A lifecycle call that a plug-in made from inside a call Tavrel made into it,
 * where it cannot be carried out; see InitializeTavrel and UninitializeTavrel.
 */
#ifndef E_ILLEGAL_METHOD_CALL
#define E_ILLEGAL_METHOD_CALL ((TavrelResult)0x8000000EL)
#endif
/* No plug-in folder, nothing in it to load, or no plug-in loaded. The sign bit
 * is clear: a caller that only tests for failure sees success. */
#define S_PLUGIN_NONE ((TavrelResult)0x000805E9L)
/* The plug-in that claims the address lacks the entry point. */
#define E_PLUGIN_NOTIMPL ((TavrelResult)0x800805EEL)
/* No plug-in key occurs in the address. */
#define E_PLUGIN_NOTFOUND ((TavrelResult)0x800805EFL)

/* Types that host and plug-ins share and Tavrel only passes on. Their layouts
 * and values are theirs to define: the host defines the three structures (and,
 * outside Windows, what a property page handle points to). */
typedef struct LoginInfo LoginInfo;
typedef struct RSSFeedInfo RSSFeedInfo;
typedef struct IRSSFeedCallback IRSSFeedCallback;
typedef int32_t LanguageSetting;
#if !defined(_WIN32)
typedef struct TavrelPropSheetPage *HPROPSHEETPAGE;
#endif

#if !defined(TAVREL_PLUGIN_H) || defined(TAVREL_BUILD)

/* ---- Lifecycle ---------------------------------------------------------- */

/* Loads every library in the WebPlugins folder beside the host's executable and
 * registers those whose GetPluginInfo accepts. Libraries that fail to load or
 * reject themselves are skipped silently. Calling it again without
 * UninitializeTavrel loads every plug-in once more.
 * Returns S_OK after a completed scan (also when nothing was accepted),
 * S_PLUGIN_NONE when the folder holds no candidate or cannot be searched, and
 * E_FAIL when the executable's path cannot be had or the scan was cut short by
 * an exception; plug-ins accepted before that stay registered.
 * A plug-in may call it from its broadcast and routed entry points: the scan
 * appends to the plug-ins already loaded. Called from inside a scan or a
 * teardown (GetPluginInfo, StopPlugin, a library's start-up or clean-up code)
 * it does nothing and returns E_ILLEGAL_METHOD_CALL. */
TAVREL_API TavrelResult TAVREL_CALL InitializeTavrel(void);

/* Calls every plug-in's LoadConfigInfo, in load order, and returns the bitwise
 * OR of their results: 0 when all returned 0, negative when one failed.
 * Returns S_PLUGIN_NONE when no plug-in is loaded. Plug-ins that a nested
 * InitializeTavrel loads during the walk are not called by it. */
TAVREL_API TavrelResult TAVREL_CALL StartTavrel(void);

/* Stops (StopPlugin) and unloads every plug-in, one after the other, and
 * empties the registry. Returns S_OK. Call it before unloading Tavrel.
 * A plug-in cannot unload itself from under its own code: called from inside
 * any call Tavrel made into a plug-in, it does nothing and returns
 * E_ILLEGAL_METHOD_CALL. */
TAVREL_API TavrelResult TAVREL_CALL UninitializeTavrel(void);

/* ---- Per-feed calls ------------------------------------------------------
 * Each forwards to the entry point of the same name of the plug-in that claims
 * url: the one whose key occurs in url and sorts first (byte-wise). The
 * plug-in's result comes back unchanged. Each returns E_PLUGIN_NOTFOUND when
 * no key occurs in url, E_PLUGIN_NOTIMPL when the claiming plug-in lacks the
 * entry point (no other plug-in is tried), and E_POINTER when url is null.
 * url is a NUL-terminated byte string, matched byte for byte. Routed calls only
 * read Tavrel's state: several may run at once on different threads. */

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
 * *count to n. A plug-in that writes no handle gives a null page. The pages
 * stay the host's to show and destroy.
 * Returns S_OK, or E_POINTER when count is null. */
TAVREL_API TavrelResult TAVREL_CALL FillSheetPage(HPROPSHEETPAGE *pages,
                                                  int32_t *count,
                                                  LanguageSetting language);

/* The OR of the identifier bits of every plug-in accepted since Tavrel was
 * loaded; UninitializeTavrel does not clear it. 0 before any is accepted. */
TAVREL_API uint32_t TAVREL_CALL GetPluginIdentifier(void);

#endif /* host exports */

#ifdef __cplusplus
}
#endif

#endif /* TAVREL_H */
