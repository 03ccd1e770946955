#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "registry.h"

namespace {

std::vector<std::string> keys_in_order(const tavrel::Registry &registry) {
  std::vector<std::string> keys;
  for (const auto &route : registry.routes())
    keys.push_back(route.first);
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
  ASSERT_EQ(registry.routes().size(), 1u);
  EXPECT_EQ(registry.routes().at("news"), &first);
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
  EXPECT_TRUE(registry.plugins().empty());

  tavrel::PluginRecord &accepted = registry.begin_load();
  registry.accept_load();
  ASSERT_EQ(registry.plugins().size(), 1u);
  EXPECT_EQ(registry.plugins().front().get(), &accepted);
}

TEST(RegistryTest, ReleaseFrontDropsTheRecordAndItsKeys) {
  tavrel::Registry registry;
  tavrel::PluginRecord &first = registry.begin_load();
  registry.accept_load();
  tavrel::PluginRecord &second = registry.begin_load();
  registry.accept_load();
  registry.register_key("a", &first);
  registry.register_key("b", &second);
  registry.register_key("c", &first);

  registry.release_front();

  ASSERT_EQ(registry.plugins().size(), 1u);
  EXPECT_EQ(registry.plugins().front().get(), &second);
  EXPECT_EQ(keys_in_order(registry), std::vector<std::string>{"b"});
}

} // namespace
