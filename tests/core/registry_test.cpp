#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "registry.h"

namespace {

std::vector<std::string> keys_in_order(tavrel::Registry &registry) {
  registry.settle();
  std::vector<std::string> keys;
  for (std::size_t rank = 0; rank < registry.routes().size(); ++rank)
    keys.emplace_back(registry.routes().key(rank));
  return keys;
}

TEST(RegistryTest, KeysSortByUnsignedBytesWithPrefixesFirst) {
  tavrel::Registry registry;
  tavrel::PluginRecord record;
  for (const char *key : {"abc", "z", "\xB0", "a", "B", "ab", ""})
    registry.register_key(key, &record);
  EXPECT_EQ(keys_in_order(registry),
            (std::vector<std::string>{"", "B", "a", "ab", "abc", "z", "\xB0"}));
}

TEST(RegistryTest, FirstRegistrationOfAKeyWins) {
  tavrel::Registry registry;
  tavrel::PluginRecord first, second;
  registry.register_key("news", &first);
  registry.register_key("news", &second);
  EXPECT_EQ(registry.routes().walk("news"), &first) << "before settling";
  registry.settle();
  ASSERT_EQ(registry.routes().size(), 1u);
  EXPECT_EQ(registry.routes().record(0), &first);

  // A later scan's registration loses too.
  tavrel::PluginRecord third;
  registry.register_key("news", &third);
  registry.register_key("new", &third);
  EXPECT_EQ(registry.routes().walk("news"), &third) << "new sorts first";
  EXPECT_EQ(registry.routes().walk("new"), &third);
  registry.settle();
  EXPECT_EQ(keys_in_order(registry), (std::vector<std::string>{"new", "news"}));
  EXPECT_EQ(registry.routes().record(1), &first);
}

TEST(RegistryTest, IdentifierBitsAccumulateAndSurviveClear) {
  tavrel::Registry registry;
  EXPECT_EQ(registry.identifier_word(), 0u);
  registry.merge_identifier(0x1);
  registry.merge_identifier(0x4);
  registry.merge_identifier(0);
  EXPECT_EQ(registry.identifier_word(), 0x5u);
  registry.clear();
  EXPECT_EQ(registry.identifier_word(), 0x5u);
}

TEST(RegistryTest, LoadIsListedOnlyWhenAccepted) {
  tavrel::Registry registry;
  registry.begin_load();
  registry.discard_load();
  EXPECT_EQ(registry.plugin_count(), 0u);

  tavrel::PluginRecord &accepted = registry.begin_load();
  registry.accept_load();
  ASSERT_EQ(registry.plugin_count(), 1u);
  EXPECT_EQ(&registry.plugin(0), &accepted);
}

TEST(RegistryTest, ReleaseFrontUnlistsTheRecordAndItsKeysStopRouting) {
  tavrel::Registry registry;
  tavrel::PluginRecord &first = registry.begin_load();
  registry.accept_load();
  tavrel::PluginRecord &second = registry.begin_load();
  registry.accept_load();
  registry.register_key("a", &first);
  registry.register_key("b", &second);
  registry.register_key("c", &first);
  registry.settle();

  registry.release_front();

  ASSERT_EQ(registry.plugin_count(), 1u);
  EXPECT_EQ(&registry.plugin(0), &second);
  EXPECT_EQ(registry.routes().walk("abc"), &second);
  EXPECT_EQ(keys_in_order(registry), std::vector<std::string>{"b"});
}

TEST(RegistryTest, TheIndexAnswersWhereItBeatsTheWalk) {
  tavrel::Registry registry;
  tavrel::PluginRecord record;
  registry.register_key("one", &record);
  registry.settle();
  EXPECT_EQ(registry.index(), nullptr) << "one key: the walk always wins";

  for (std::size_t i = 1; i + 1 < tavrel::kIndexedTableSize; ++i)
    registry.register_key("key" + std::to_string(i), &record);
  registry.settle();
  ASSERT_NE(registry.index(), nullptr);
  EXPECT_GT(registry.index_below(), 100u);
  EXPECT_LT(registry.index_below(), 10000u) << "long addresses: the walk";

  registry.register_key("one more", &record);
  EXPECT_EQ(registry.index(), nullptr) << "a change drops the index";
  registry.settle();
  ASSERT_NE(registry.index(), nullptr);
  EXPECT_EQ(registry.index_below(), SIZE_MAX);
}

} // namespace
