// tavrel-probe route on the differential inputs: its winner is the library's
// own answer, and it lists every other key that occurs, in key order.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "probe.h"
#include "routing.h"

namespace {

TEST(RouteCommandTest, ShowsTheLibrarysWinnerAndEveryOtherKeyThatOccurs) {
  std::mt19937 random(7);
  auto pick = [&](std::size_t n) {
    return std::uniform_int_distribution<std::size_t>(0, n - 1)(random);
  };
  const std::string alphabet = "ab\xB0";
  auto word = [&](std::size_t longest) {
    std::string text(1 + pick(longest), '\0');
    for (char &c : text)
      c = alphabet[pick(alphabet.size())];
    return text;
  };
  probe::Inventory inventory{};
  for (int round = 0; round < 40; ++round) {
    tavrel::Registry &registry = tavrel::global_registry();
    registry.clear();
    std::vector<std::string> keys;
    for (std::size_t i = 0, n = 1 + pick(round % 2 ? 80 : 10); i < n; ++i)
      keys.push_back(pick(3) == 0 && !keys.empty()
                         ? keys[pick(keys.size())] + word(2)
                         : word(4));
    std::vector<tavrel::PluginRecord> records(keys.size());
    for (std::size_t i = 0; i < keys.size(); ++i)
      registry.register_key(keys[i], &records[i]);
    registry.settle();

    for (int a = 0; a < 40; ++a) {
      const std::string url = word(12);
      SCOPED_TRACE("round " + std::to_string(round) + ", address " + url);
      // By brute force: every distinct key that occurs, in key order.
      std::vector<std::string> occurring;
      for (const std::string &key : keys)
        if (std::strstr(url.c_str(), key.c_str()))
          occurring.push_back(key);
      std::sort(occurring.begin(), occurring.end());
      occurring.erase(std::unique(occurring.begin(), occurring.end()),
                      occurring.end());

      probe::Outcome outcome = probe::show_route(inventory, url);
      const probe::Node &document = outcome.document;
      tavrel::PluginRecord *record = nullptr;
      const bool found =
          tavrel::find_plugin_for_url(registry, url.c_str(), &record) == S_OK;
      ASSERT_EQ(found, !occurring.empty());
      ASSERT_EQ(outcome.exit_status, found ? 0 : 1);
      std::vector<std::string> shown;
      if (found) {
        ASSERT_NE(document.member("key"), nullptr);
        shown.push_back(document.member("key")->text_value());
        EXPECT_EQ(shown[0], occurring[0]) << "the first key in key order";
      }
      for (const probe::Node &loser : document.member("also_matching")->items())
        shown.push_back(loser.member("key")->text_value());
      EXPECT_EQ(shown, occurring);
    }
  }
  tavrel::global_registry().clear();
}

} // namespace
