#include <stdexcept>
#include <string>
#include <vector>

#include "core_test.h"

namespace {

using Strings = std::vector<std::string>;

class LifecycleTest : public CoreTest {};

TEST_F(LifecycleTest, StartWithoutPluginsIsNone) {
  EXPECT_EQ(tavrel::start_plugins(registry), S_PLUGIN_NONE);
}

struct StartCase {
  TavrelResult first, second, combined;
};

void PrintTo(const StartCase &c, std::ostream *out) {
  *out << std::hex << c.first << " | " << c.second;
}

class StartResultTest : public CoreTest,
                        public ::testing::WithParamInterface<StartCase> {};

TEST_P(StartResultTest, OrsTheResultsOfEveryPlugin) {
  fake::add_plugin("a", "a").result = GetParam().first;
  fake::add_plugin("b", "b").result = GetParam().second;
  ASSERT_EQ(scan(), S_OK);
  take_events();
  EXPECT_EQ(tavrel::start_plugins(registry), GetParam().combined);
  EXPECT_EQ(take_events(),
            (Strings{"a.LoadConfigInfo()", "b.LoadConfigInfo()"}));
}

INSTANTIATE_TEST_SUITE_P(Results, StartResultTest,
                         ::testing::Values(StartCase{0, 0, 0},
                                           StartCase{0, E_FAIL, E_FAIL},
                                           StartCase{E_FAIL, 0, E_FAIL},
                                           StartCase{E_FAIL, E_FAIL, E_FAIL},
                                           StartCase{1, 2, 3},
                                           StartCase{1, 3, 3}));

TEST_F(LifecycleTest, StartPassesOverPluginsWithoutLoadConfigInfo) {
  fake::add_plugin("a", "a").missing = {"LoadConfigInfo"};
  fake::add_plugin("b", "b").missing = {"LoadConfigInfo"};
  ASSERT_EQ(scan(), S_OK);
  take_events();
  EXPECT_EQ(tavrel::start_plugins(registry), 0);
  EXPECT_TRUE(take_events().empty());
}

TEST_F(LifecycleTest, StopsAndUnloadsEachPluginBeforeTheNext) {
  fake::add_plugin("a", "a");
  fake::add_plugin("b", "b").missing = {"StopPlugin"};
  fake::add_plugin("c", "c");
  ASSERT_EQ(scan(), S_OK);
  take_events();
  tavrel::tear_down(registry);
  EXPECT_EQ(take_events(), (Strings{"a.StopPlugin()", "unload a", "unload b",
                                    "c.StopPlugin()", "unload c"}));
  EXPECT_TRUE(plugins().empty());
  EXPECT_TRUE(routes().empty());
}

TEST_F(LifecycleTest, TeardownAfterTwoScansStopsEachRecord) {
  fake::add_plugin("a", "a");
  ASSERT_EQ(scan(), S_OK);
  ASSERT_EQ(scan(), S_OK);
  take_events();
  tavrel::tear_down(registry);
  EXPECT_EQ(take_events(), (Strings{"a.StopPlugin()", "unload a",
                                    "a.StopPlugin()", "unload a"}));
  EXPECT_EQ(fake::world().loads[0], 0);
}

TEST_F(LifecycleTest, TeardownDropsButDoesNotUnloadAPluginWhoseLoadFailed) {
  fake::add_plugin("a", "a");
  fake::add_plugin("b", "b").during["GetPluginInfo"] = [] {
    throw std::runtime_error("fault");
  };
  ASSERT_EQ(scan(), E_FAIL);
  take_events();
  tavrel::tear_down(registry);
  EXPECT_EQ(take_events(), (Strings{"a.StopPlugin()", "unload a"}));
  EXPECT_TRUE(routes().empty());
  EXPECT_EQ(fake::world().loads[1], 1);
}

TEST_F(LifecycleTest, AThrowingStopPluginLeavesOnlyLoadedPluginsListed) {
  fake::add_plugin("a", "a");
  fake::add_plugin("b", "b").during["StopPlugin"] = [] {
    throw std::runtime_error("stop failed");
  };
  fake::add_plugin("c", "c");
  ASSERT_EQ(scan(), S_OK);
  EXPECT_THROW(tavrel::tear_down(registry), std::runtime_error);
  EXPECT_EQ(plugins(), (Strings{"b", "c"}));
  EXPECT_EQ(fake::world().loads[0], 0);
  // Nothing left routes to the unloaded plug-in a, index or walk.
  EXPECT_EQ(registry.index(), nullptr);
  EXPECT_EQ(registry.routes().walk("a"), nullptr);
  EXPECT_EQ(name_of(registry.routes().walk("b")), "b");

  // A second teardown goes on from there.
  fake::world().plugins[1].during.clear();
  take_events();
  tavrel::tear_down(registry);
  EXPECT_EQ(take_events(), (Strings{"b.StopPlugin()", "unload b",
                                    "c.StopPlugin()", "unload c"}));
}

TEST_F(LifecycleTest, ARescanFindsTheSamePluginsAgain) {
  fake::add_plugin("a", "a").identifier = 0x10;
  fake::add_plugin("b", "b").identifier = 0x01;
  ASSERT_EQ(scan(), S_OK);
  tavrel::tear_down(registry);
  EXPECT_EQ(registry.identifier_word(), 0x11u);
  ASSERT_EQ(scan(), S_OK);
  EXPECT_EQ(plugins(), (Strings{"a", "b"}));
  EXPECT_EQ(routes(), (Strings{"a>a", "b>b"}));
  EXPECT_EQ(registry.identifier_word(), 0x11u);
}

} // namespace
