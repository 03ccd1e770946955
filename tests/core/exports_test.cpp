// The exports, on the library-wide registry, over the fake platform layer.
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "Tavrel.h"
#include "fake_platform.h"
#include "routed_exports.h"

namespace {

using Strings = std::vector<std::string>;

// Host-owned records are opaque to Tavrel; any storage stands in for them.
struct HostRecords {
  long login_storage = 0, feed_storage = 0;
  char buffer[64] = {};
  LoginInfo *login = reinterpret_cast<LoginInfo *>(&login_storage);
  RSSFeedInfo *feed = reinterpret_cast<RSSFeedInfo *>(&feed_storage);
};

// What the claiming plug-in "P" must see of each routed export, written by
// hand; the exports are called through the core's table of them, which the
// probe uses too.
struct RoutedCase {
  const char *entry;
  std::function<std::string(const char *url, HostRecords &)> forwarded;
};

void PrintTo(const RoutedCase &c, std::ostream *out) { *out << c.entry; }

const RoutedCase kRoutedCases[] = {
    {"GetLoginInfo",
     [](const char *, HostRecords &h) {
       return fake::call("P", "GetLoginInfo", h.login);
     }},
    {"SetLoginInfo",
     [](const char *, HostRecords &h) {
       return fake::call("P", "SetLoginInfo", h.login);
     }},
    {"SetRSSFeedInfo",
     [](const char *url, HostRecords &h) {
       return fake::call("P", "SetRSSFeedInfo", url, h.feed);
     }},
    {"GetRSSFeedInfo",
     [](const char *url, HostRecords &h) {
       return fake::call("P", "GetRSSFeedInfo", url, h.feed);
     }},
    {"ReFresh", [](const char *url,
                   HostRecords &) { return fake::call("P", "ReFresh", url); }},
    {"GetRSSContent",
     [](const char *url, HostRecords &) {
       return fake::call("P", "GetRSSContent", url);
     }},
    {"ParseFinalURL",
     [](const char *url, HostRecords &h) {
       return fake::call("P", "ParseFinalURL", url,
                         static_cast<void *>(h.buffer), -512);
     }},
    {"DeleteRSSFeed",
     [](const char *url, HostRecords &) {
       return fake::call("P", "DeleteRSSFeed", url, "second", "third");
     }},
};

TavrelResult invoke(const char *entry, const char *url, HostRecords &h) {
  tavrel::RoutedArguments arguments;
  arguments.url = url;
  arguments.login = h.login;
  arguments.feed = h.feed;
  arguments.buffer = h.buffer;
  arguments.value = -512;
  arguments.second = "second";
  arguments.third = "third";
  return tavrel::find_routed_export(entry)->call(arguments);
}

TEST(RoutedExportTable, NamesEachRoutedExportOnce) {
  std::set<std::string> names;
  for (const tavrel::RoutedExport &routed : tavrel::kRoutedExports)
    names.insert(routed.name);
  std::set<std::string> expected;
  for (const RoutedCase &c : kRoutedCases)
    expected.insert(c.entry);
  EXPECT_EQ(names, expected);
  EXPECT_EQ(tavrel::find_routed_export("GetPluginInfo"), nullptr);
}

class RoutedExportTest : public ::testing::TestWithParam<RoutedCase> {
protected:
  void SetUp() override { fake::reset(); }
  void TearDown() override { EXPECT_EQ(UninitializeTavrel(), S_OK); }

  // Loads one plug-in "P" that claims feeds.example.
  void load(TavrelResult result = 0, const char *missing_entry = nullptr) {
    fake::Plugin &plugin = fake::add_plugin("P", "feeds.example");
    plugin.result = result;
    if (missing_entry)
      plugin.missing = {missing_entry};
    ASSERT_EQ(InitializeTavrel(), S_OK);
    fake::world().events.clear();
  }

  HostRecords host;
};

TEST_P(RoutedExportTest, ForwardsExactlyItsArgumentsAndTheResult) {
  load(static_cast<TavrelResult>(0x80045678));
  const char *url = "https://feeds.example/rss";
  EXPECT_EQ(invoke(GetParam().entry, url, host),
            static_cast<TavrelResult>(0x80045678));
  EXPECT_EQ(fake::world().events, Strings{GetParam().forwarded(url, host)});
}

TEST_P(RoutedExportTest, ANullAddressIsRefusedWithoutCallingAPlugin) {
  load();
  EXPECT_EQ(invoke(GetParam().entry, nullptr, host), E_POINTER);
  EXPECT_TRUE(fake::world().events.empty());
}

TEST_P(RoutedExportTest, AnUnclaimedAddressIsNotFound) {
  load();
  EXPECT_EQ(invoke(GetParam().entry, "https://other.example/", host),
            E_PLUGIN_NOTFOUND);
  EXPECT_TRUE(fake::world().events.empty());
}

TEST_P(RoutedExportTest, AMissingEntryPointIsNotImplemented) {
  load(0, GetParam().entry);
  EXPECT_EQ(invoke(GetParam().entry, "https://feeds.example/", host),
            E_PLUGIN_NOTIMPL);
  EXPECT_TRUE(fake::world().events.empty());
}

TEST_P(RoutedExportTest, AfterTeardownNothingIsFound) {
  load();
  EXPECT_EQ(UninitializeTavrel(), S_OK);
  fake::world().events.clear();
  EXPECT_EQ(invoke(GetParam().entry, "https://feeds.example/", host),
            E_PLUGIN_NOTFOUND);
  EXPECT_TRUE(fake::world().events.empty());
}

INSTANTIATE_TEST_SUITE_P(Exports, RoutedExportTest,
                         ::testing::ValuesIn(kRoutedCases),
                         [](const auto &info) { return info.param.entry; });

class BroadcastExportTest : public ::testing::Test {
protected:
  void SetUp() override { fake::reset(); }
  void TearDown() override { UninitializeTavrel(); }
};

TEST_F(BroadcastExportTest, FillSheetPageRefusesANullCount) {
  fake::add_plugin("P", "p");
  ASSERT_EQ(InitializeTavrel(), S_OK);
  fake::world().events.clear();
  HPROPSHEETPAGE page = nullptr;
  EXPECT_EQ(FillSheetPage(&page, nullptr, 0), E_POINTER);
  EXPECT_EQ(FillSheetPage(nullptr, nullptr, 0), E_POINTER);
  EXPECT_TRUE(fake::world().events.empty());
}

TEST_F(BroadcastExportTest, BroadcastsSucceedWithoutPlugins) {
  int32_t count = 3;
  EXPECT_EQ(FillSheetPage(nullptr, &count, 0), S_OK);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(SetCallbackInterface(nullptr), S_OK);
  EXPECT_EQ(StartTavrel(), S_PLUGIN_NONE);
  EXPECT_EQ(UninitializeTavrel(), S_OK);
  EXPECT_EQ(UninitializeTavrel(), S_OK);
}

TEST_F(BroadcastExportTest, LifecycleExportsDriveEveryPlugin) {
  fake::add_plugin("A", "a").result = 1;
  fake::add_plugin("B", "b").result = 2;
  ASSERT_EQ(InitializeTavrel(), S_OK);
  EXPECT_EQ(StartTavrel(), 3);
  auto *callback = reinterpret_cast<IRSSFeedCallback *>(0x5678);
  EXPECT_EQ(SetCallbackInterface(callback), S_OK);
  fake::world().events.clear();
  EXPECT_EQ(UninitializeTavrel(), S_OK);
  EXPECT_EQ(fake::world().events, (Strings{"A.StopPlugin()", "unload A",
                                           "B.StopPlugin()", "unload B"}));
}

} // namespace
