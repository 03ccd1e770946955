// The library-wide registry as the library was loaded: a program of its own,
// since the identifier word is never cleared.
#include <gtest/gtest.h>

#include "Tavrel.h"
#include "fake_platform.h"

namespace {

TEST(FreshLibrary, StartsEmptyAndMergesIdentifierBits) {
  fake::reset();
  EXPECT_EQ(GetPluginIdentifier(), 0u);
  EXPECT_EQ(StartTavrel(), S_PLUGIN_NONE);
  EXPECT_EQ(ReFresh("anything"), E_PLUGIN_NOTFOUND);

  fake::add_plugin("A", "a").identifier = 0x1;
  fake::add_plugin("B", "b").identifier = 0x4;
  fake::add_plugin("Z", "z").identifier = 0;
  ASSERT_EQ(InitializeTavrel(), S_OK);
  EXPECT_EQ(GetPluginIdentifier(), 0x5u);
  EXPECT_EQ(UninitializeTavrel(), S_OK);
  EXPECT_EQ(GetPluginIdentifier(), 0x5u);
}

} // namespace
