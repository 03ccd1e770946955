// The library as a host process first loads it: a program of its own, since
// the identifier word is never cleared.
#include "plugin_folder.h"

namespace {

TEST_F(PluginFolderTest, AFreshLibraryMergesIdentifierBits) {
  EXPECT_EQ(GetPluginIdentifier(), 0u);
  EXPECT_EQ(ReFresh("blog"), E_PLUGIN_NOTFOUND);
  install("alpha", "1_alpha"); // 0x1
  install("beta", "2_beta");   // 0x4
  install("delta", "3_delta"); // 0
  install("picky", "4_picky"); // 0x100, rejects
  ASSERT_EQ(InitializeTavrel(), S_OK);
  EXPECT_EQ(GetPluginIdentifier(), 0x5u);
  EXPECT_EQ(UninitializeTavrel(), S_OK);
  EXPECT_EQ(GetPluginIdentifier(), 0x5u);
}

} // namespace
