#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "key_list.h"

namespace {

struct KeyListCase {
  std::string list;
  std::vector<std::string> keys;
};

void PrintTo(const KeyListCase &c, std::ostream *out) {
  *out << '"' << c.list << '"';
}

class KeyListTest : public ::testing::TestWithParam<KeyListCase> {};

TEST_P(KeyListTest, CutsAtSemicolons) {
  std::vector<std::string> keys;
  tavrel::cut_key_list(GetParam().list,
                       [&](std::string_view key) { keys.emplace_back(key); });
  EXPECT_EQ(keys, GetParam().keys);
}

INSTANTIATE_TEST_SUITE_P(
    Lists, KeyListTest,
    ::testing::Values(
        KeyListCase{"", {}}, KeyListCase{"a", {"a"}},
        KeyListCase{"a;b", {"a", "b"}}, KeyListCase{"a;b;", {"a", "b"}},
        KeyListCase{"a;;b", {"a", "", "b"}}, KeyListCase{";", {""}},
        KeyListCase{";;", {"", ""}}, KeyListCase{";a", {"", "a"}},
        KeyListCase{"x;x", {"x", "x"}}, KeyListCase{" a ; B", {" a ", " B"}}));

} // namespace
