// The index against the walk: the same winner for every address and every key
// table, on random tables built to find the corners (tiny alphabets, prefix
// chains, the empty key, repeated keys, bytes of 0x80 and above), on the
// Public Suffix List, and in every state the registry goes through.
#include <gtest/gtest.h>

#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench_keys.h"
#include "core_test.h"
#include "route_index.h"
#include "route_table.h"
#include "routing.h"

namespace {

using tavrel::RouteIndex;
using tavrel::RouteTable;

// A committed table with one record per key, so that a record names its key.
class KeyTable {
public:
  explicit KeyTable(const std::vector<std::string> &keys)
      : records_(keys.size()) {
    for (std::size_t i = 0; i < keys.size(); ++i)
      table_.add(keys[i], &records_[i]);
    table_.commit();
  }
  const RouteTable &table() const { return table_; }

  // The walk's winner as a rank, RouteIndex::kNone when none.
  std::uint32_t walk(const std::string &url) const {
    const tavrel::PluginRecord *winner = table_.walk(url.c_str());
    for (std::size_t rank = 0; winner && rank < table_.size(); ++rank)
      if (table_.record(rank) == winner)
        return static_cast<std::uint32_t>(rank);
    return RouteIndex::kNone;
  }

private:
  std::vector<tavrel::PluginRecord> records_;
  RouteTable table_;
};

std::string printable(const std::string &text) {
  std::string shown;
  for (unsigned char c : text) {
    if (c >= 0x20 && c < 0x7F) {
      shown += static_cast<char>(c);
    } else {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
      shown += escaped;
    }
  }
  return shown.size() > 200 ? shown.substr(0, 200) + "..." : shown;
}

// Checks every address; stops at the first few mismatches.
void expect_index_is_walk(const KeyTable &keys,
                          const std::vector<std::string> &addresses) {
  const RouteIndex index(keys.table());
  int mismatches = 0;
  for (const std::string &url : addresses) {
    const std::uint32_t walked = keys.walk(url);
    const std::uint32_t found = index.find(url.c_str());
    if (found == walked)
      continue;
    auto name = [&](std::uint32_t rank) {
      return rank == RouteIndex::kNone
                 ? std::string("none")
                 : '"' + printable(std::string(keys.table().key(rank))) + '"';
    };
    ADD_FAILURE() << "address \"" << printable(url) << "\": index "
                  << name(found) << ", walk " << name(walked);
    if (++mismatches == 5)
      return;
  }
}

struct Alphabet {
  const char *name;
  std::string bytes;
};

void PrintTo(const Alphabet &a, std::ostream *out) { *out << a.name; }

class RandomTablesTest : public ::testing::TestWithParam<Alphabet> {};

TEST_P(RandomTablesTest, IndexAndWalkAgree) {
  const std::string &alphabet = GetParam().bytes;
  std::mt19937 random(20261211);
  auto pick = [&](std::size_t n) {
    return std::uniform_int_distribution<std::size_t>(0, n - 1)(random);
  };
  auto word = [&](std::size_t longest) {
    std::string text(1 + pick(longest), '\0');
    for (char &c : text)
      c = alphabet[pick(alphabet.size())];
    return text;
  };
  for (int round = 0; round < 300; ++round) {
    std::vector<std::string> keys;
    const std::size_t count = 1 + pick(round % 3 == 0 ? 200 : 12);
    for (std::size_t i = 0; i < count; ++i) {
      switch (pick(6)) {
      case 0: // extends an earlier key: prefix chains
        keys.push_back(keys.empty() ? word(3)
                                    : keys[pick(keys.size())] + word(3));
        break;
      case 1: // repeats one
        keys.push_back(keys.empty() ? word(2) : keys[pick(keys.size())]);
        break;
      case 2: // a piece of an earlier one
        if (!keys.empty()) {
          const std::string &from = keys[pick(keys.size())];
          std::size_t start = pick(from.size());
          keys.push_back(from.substr(start, 1 + pick(from.size() - start)));
          break;
        }
        [[fallthrough]];
      default:
        keys.push_back(word(round % 5 == 0 ? 9 : 4));
      }
    }
    if (round % 50 == 49)
      keys.push_back("");
    std::vector<std::string> addresses{""};
    for (int i = 0; i < 60; ++i) {
      std::string url;
      for (std::size_t pieces = pick(6); pieces > 0; --pieces)
        url += pick(2) ? keys[pick(keys.size())] : word(5);
      addresses.push_back(url);
    }
    SCOPED_TRACE("round " + std::to_string(round));
    expect_index_is_walk(KeyTable(keys), addresses);
    if (HasFailure())
      return;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Alphabets, RandomTablesTest,
    ::testing::Values(Alphabet{"two_letters", "ab"},
                      Alphabet{"three_letters", "abc"},
                      Alphabet{"high_bytes", "a\x80\xB0\xFF"},
                      Alphabet{"host_names", "abcdefgo.-/:"},
                      Alphabet{"every_class",
                               [] {
                                 std::string all;
                                 for (int b = 1; b < 256; ++b)
                                   all += static_cast<char>(b);
                                 return all;
                               }()}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(RouteIndexTest, TheFirstKeyInKeyOrderWinsNotTheLeftmost) {
  KeyTable keys({"news", "blog"});
  const RouteIndex index(keys.table());
  EXPECT_EQ(index.find("newsblog"), 0u) << "blog sorts first";
  EXPECT_EQ(index.find("blognews"), 0u);
  EXPECT_EQ(index.find("a news item"), 1u);
  EXPECT_EQ(index.find("nothing"), RouteIndex::kNone);
  EXPECT_EQ(index.find(""), RouteIndex::kNone);
}

TEST(RouteIndexTest, TheEmptyKeyWinsEveryAddress) {
  KeyTable keys({"", "a"});
  const RouteIndex index(keys.table());
  EXPECT_EQ(index.find(""), 0u);
  EXPECT_EQ(index.find("a"), 0u);
}

TEST(RouteIndexTest, AnEmptyTableFindsNothing) {
  KeyTable keys({});
  EXPECT_EQ(RouteIndex(keys.table()).find("anything"), RouteIndex::kNone);
}

TEST(RouteIndexTest, BytesAbove0x7FAreUnsigned) {
  // Signed, 0xB0 would sort before "z" and 0xFF before everything.
  KeyTable keys({"z", "\xB0", "\xFF"});
  const RouteIndex index(keys.table());
  EXPECT_EQ(index.find("\xFF\xB0z"), 0u);
  EXPECT_EQ(index.find("\xFF\xB0"), 1u);
  EXPECT_EQ(index.find("x\xFF"), 2u);
}

TEST(RouteIndexTest, AnAddressOfMegabytesIsScannedToItsEnd) {
  std::vector<std::string> keys;
  for (int i = 0; i < 500; ++i)
    keys.push_back("site" + std::to_string(i) + ".example");
  KeyTable table(keys);
  std::string url(4 << 20, 'x');
  url += "site499.example";
  std::string shorter(3 << 20, 's');
  url += shorter + "site10.example";
  expect_index_is_walk(table, {url, std::string(1 << 20, 'e'), shorter});
  EXPECT_EQ(RouteIndex(table.table()).find(url.c_str()),
            table.walk("site10.example"));
}

TEST(RouteIndexTest, AgreesWithTheWalkOnThePublicSuffixList) {
  std::vector<std::string> keys =
      bench::public_suffixes(TAVREL_PUBLIC_SUFFIX_LIST);
  ASSERT_GT(keys.size(), 5000u) << "reading " << TAVREL_PUBLIC_SUFFIX_LIST;
  KeyTable table(keys);
  std::mt19937 random(9000);
  auto pick = [&](std::size_t n) {
    return std::uniform_int_distribution<std::size_t>(0, n - 1)(random);
  };
  const char *const labels[] = {"news", "www",      "blog", "feeds", "rss",
                                "a",    "podcasts", "x-y",  "m"};
  std::vector<std::string> addresses;
  for (int i = 0; i < 3000; ++i) {
    std::string url = pick(2) ? "https://" : "http://";
    url += labels[pick(std::size(labels))];
    url += "." + keys[pick(keys.size())];
    if (pick(2))
      url += "/" + keys[pick(keys.size())] + "/feed.xml";
    addresses.push_back(url);
    // Pieces of keys, which end matches part-way.
    const std::string &key = keys[pick(keys.size())];
    addresses.push_back(key.substr(0, key.size() / 2) + "." +
                        key.substr(key.size() / 3));
  }
  expect_index_is_walk(table, addresses);
}

// The registry's own answer, index or walk, against the walk, in every state a
// scan and a teardown leave it in.
class RegistryStatesTest : public CoreTest {
protected:
  // Enough keys per plug-in for the registry to build an index.
  static std::string keys_of(const std::string &name) {
    std::string list;
    for (std::size_t i = 0; i < tavrel::kIndexedTableSize; ++i)
      list += name + std::to_string(i * 7 % 97) + ".example;";
    return list + "shared";
  }

  void expect_answers_are_the_walks(const char *state) {
    SCOPED_TRACE(state);
    for (const char *url :
         {"https://alpha14.example/", "beta0.example", "gamma7.examplealpha7",
          "shared", "nothing", "", "alpha91.example beta91.example"}) {
      tavrel::PluginRecord *found = nullptr;
      TavrelResult result = tavrel::find_plugin_for_url(registry, url, &found);
      tavrel::PluginRecord *walked = registry.routes().walk(url);
      EXPECT_EQ(result == S_OK ? found : nullptr, walked) << url;
    }
  }
};

TEST_F(RegistryStatesTest, EveryStateAnswersAsTheWalk) {
  expect_answers_are_the_walks("before any scan");
  fake::add_plugin("alpha", keys_of("alpha"));
  fake::add_plugin("beta", keys_of("beta"));
  fake::Plugin &gamma = fake::add_plugin("gamma", keys_of("gamma"));
  ASSERT_EQ(scan(), S_OK);
  ASSERT_NE(registry.index(), nullptr);
  expect_answers_are_the_walks("after a scan");
  ASSERT_EQ(scan(), S_OK);
  expect_answers_are_the_walks("after a second scan");

  gamma.during["StopPlugin"] = [&] {
    expect_answers_are_the_walks("during a teardown");
    throw std::runtime_error("stop failed");
  };
  EXPECT_THROW(tavrel::tear_down(registry), std::runtime_error);
  expect_answers_are_the_walks("after a teardown cut short");
  gamma.during.clear();
  tavrel::tear_down(registry);
  expect_answers_are_the_walks("after teardown");

  fake::add_plugin("delta", keys_of("delta")).during["GetPluginInfo"] = [] {
    throw std::runtime_error("fault");
  };
  ASSERT_EQ(scan(), E_FAIL);
  ASSERT_EQ(plugins(), (std::vector<std::string>{"alpha", "beta", "gamma"}));
  expect_answers_are_the_walks("after a scan cut short");
}

} // namespace
