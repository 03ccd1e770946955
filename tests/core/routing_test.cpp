#include <string>
#include <vector>

#include "core_test.h"
#include "routing.h"

namespace {

using tavrel::PluginRecord;
using Strings = std::vector<std::string>;

struct RouteCase {
  std::vector<std::pair<std::string, std::string>> plugins; // name, keys
  std::string url;
  std::string claimant; // empty: nobody
};

void PrintTo(const RouteCase &c, std::ostream *out) {
  *out << '"' << c.url << '"';
}

class RoutingTest : public CoreTest,
                    public ::testing::WithParamInterface<RouteCase> {};

TEST_P(RoutingTest, TheFirstKeyInKeyOrderThatOccursClaims) {
  for (const auto &[name, keys] : GetParam().plugins)
    fake::add_plugin(name, keys);
  if (!GetParam().plugins.empty()) {
    ASSERT_EQ(scan(), S_OK);
  }

  PluginRecord *record = nullptr;
  TavrelResult result =
      tavrel::find_plugin_for_url(registry, GetParam().url.c_str(), &record);
  if (GetParam().claimant.empty()) {
    EXPECT_EQ(result, E_PLUGIN_NOTFOUND);
    EXPECT_EQ(record, nullptr);
  } else {
    ASSERT_EQ(result, S_OK);
    EXPECT_EQ(name_of(record), GetParam().claimant);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Addresses, RoutingTest,
    ::testing::Values(
        RouteCase{{}, "http://blog.example/", ""},
        RouteCase{{{"A", "blog"}, {"B", "news"}}, "blognews", "A"},
        RouteCase{{{"B", "news"}, {"A", "blog"}}, "newsblog", "A"},
        RouteCase{{{"A", "blog"}, {"B", "news"}}, "http://news.example/", "B"},
        RouteCase{{{"A", "abc"}, {"B", "abcd"}}, "x.abcd.y", "A"},
        RouteCase{{{"B", "abcd"}, {"A", "abc"}}, "x.abcd.y", "A"},
        RouteCase{{{"A", "Abc"}}, "http://abc.example/", ""},
        RouteCase{{{"A", "news"}, {"B", ";"}}, "http://news.example/", "B"},
        RouteCase{{{"A", "news"}, {"B", ";"}}, "", "B"},
        RouteCase{{{"A", "z"}, {"B", "\xB0"}}, "\xB0z", "A"},
        RouteCase{{{"A", "tail"}}, "http://x/tail", "A"},
        RouteCase{{{"A", "http"}}, "htt", ""}));

class RoutedCallTest : public CoreTest {};

TEST_F(RoutedCallTest, AClaimantWithoutTheEntryPointAnswersNotImplemented) {
  fake::add_plugin("A", "blog").missing = {"ReFresh"};
  fake::add_plugin("B", "news");
  ASSERT_EQ(scan(), S_OK);
  take_events();
  const char *url = "blognews";
  EXPECT_EQ(tavrel::route(registry, url, &PluginRecord::ReFresh, url),
            E_PLUGIN_NOTIMPL);
  EXPECT_TRUE(take_events().empty()) << "no other plug-in is tried";
}

TEST_F(RoutedCallTest, ThePluginsResultComesBackUnchanged) {
  fake::add_plugin("A", "blog").result = static_cast<TavrelResult>(0x80041234);
  ASSERT_EQ(scan(), S_OK);
  take_events();
  const char *url = "blog";
  EXPECT_EQ(tavrel::route(registry, url, &PluginRecord::GetRSSContent, url),
            static_cast<TavrelResult>(0x80041234));
  EXPECT_EQ(take_events(), Strings{"A.GetRSSContent(blog)"});
}

} // namespace
