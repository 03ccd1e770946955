#include <stdexcept>
#include <string>
#include <vector>

#include "core_test.h"

namespace {

using Strings = std::vector<std::string>;

class ScanTest : public CoreTest {};

TEST_F(ScanTest, SearchesTheFolderBesideTheExecutable) {
  fake::add_plugin("alpha", "a");
  EXPECT_EQ(scan(), S_OK);
  EXPECT_EQ(take_events(), (Strings{"search /host/WebPlugins/",
                                    "load /host/WebPlugins/alpha.so",
                                    "alpha.GetPluginInfo(268,zeroed)"}));
  EXPECT_EQ(fake::world().searches_open, 0);
}

TEST_F(ScanTest, RegistersAcceptedPluginsInSearchOrder) {
  fake::add_plugin("zulu", "z").identifier = 0x1;
  fake::add_plugin("alpha", "a;b").identifier = 0x4;
  EXPECT_EQ(scan(), S_OK);
  EXPECT_EQ(plugins(), (Strings{"zulu", "alpha"}));
  EXPECT_EQ(routes(), (Strings{"a>alpha", "b>alpha", "z>zulu"}));
  EXPECT_EQ(registry.identifier_word(), 0x5u);
}

TEST_F(ScanTest, TheFirstPluginFoundKeepsASharedKey) {
  fake::add_plugin("first", "news;x");
  fake::add_plugin("second", "news");
  EXPECT_EQ(scan(), S_OK);
  EXPECT_EQ(plugins(), (Strings{"first", "second"}));
  EXPECT_EQ(routes(), (Strings{"news>first", "x>first"}));
}

TEST_F(ScanTest, NoExecutablePathFailsWithoutSearching) {
  fake::add_plugin("alpha", "a");
  fake::world().has_executable = false;
  EXPECT_EQ(scan(), E_FAIL);
  EXPECT_TRUE(take_events().empty());
}

TEST_F(ScanTest, AnExecutablePathWithoutSeparatorFailsWithoutSearching) {
  fake::add_plugin("alpha", "a");
  fake::world().executable_path = "host";
  EXPECT_EQ(scan(), E_FAIL);
  EXPECT_TRUE(take_events().empty());
}

TEST_F(ScanTest, AFolderPathThatDoesNotFitFailsWithoutSearching) {
  fake::add_plugin("alpha", "a");
  // Fits on its own, but not with "WebPlugins/" appended.
  fake::world().executable_path = "/" + std::string(1015, 'd') + "/host";
  EXPECT_EQ(scan(), E_FAIL);
  EXPECT_TRUE(take_events().empty());
}

TEST_F(ScanTest, NoFolderOrNoCandidateIsNone) {
  fake::world().folder_exists = false;
  EXPECT_EQ(scan(), S_PLUGIN_NONE);
  fake::reset();
  EXPECT_EQ(scan(), S_PLUGIN_NONE);
  EXPECT_TRUE(plugins().empty());
}

TEST_F(ScanTest, SkipsDotEntriesDirectoriesAndFilesThatDoNotLoad) {
  auto &folder = fake::world().folder;
  folder.push_back({".", -1, true});
  folder.push_back({"..", -1, true});
  folder.push_back({"extra.so", -1, true});
  folder.push_back({"notes.so"});
  fake::add_plugin("alpha", "a");
  EXPECT_EQ(scan(), S_OK);
  EXPECT_EQ(take_events(), (Strings{"search /host/WebPlugins/",
                                    "load /host/WebPlugins/notes.so",
                                    "load /host/WebPlugins/alpha.so",
                                    "alpha.GetPluginInfo(268,zeroed)"}));
  EXPECT_EQ(plugins(), Strings{"alpha"});
}

TEST_F(ScanTest, OnlyEntriesThatAreNotAcceptedIsStillOk) {
  fake::world().folder.push_back({"extra.so", -1, true});
  fake::world().folder.push_back({"notes.so"});
  EXPECT_EQ(scan(), S_OK);
  EXPECT_TRUE(plugins().empty());
}

TEST_F(ScanTest, ARejectingPluginLeavesNoTrace) {
  fake::add_plugin("picky", "p").info_result = 1;
  fake::world().plugins[0].identifier = 0x8;
  fake::add_plugin("alpha", "a");
  EXPECT_EQ(scan(), S_OK);
  EXPECT_EQ(plugins(), Strings{"alpha"});
  EXPECT_EQ(routes(), Strings{"a>alpha"});
  EXPECT_EQ(registry.identifier_word(), 0u);
  EXPECT_EQ(fake::world().loads[0], 0);
}

TEST_F(ScanTest, ALibraryWithoutGetPluginInfoIsRejected) {
  fake::add_plugin("headless", "h").missing = {"GetPluginInfo"};
  fake::add_plugin("alpha", "a");
  EXPECT_EQ(scan(), S_OK);
  EXPECT_EQ(plugins(), Strings{"alpha"});
  EXPECT_EQ(fake::world().loads[0], 0);
}

TEST_F(ScanTest, AcceptsAPluginWithAnEmptyKeyList) {
  fake::add_plugin("silent", "").identifier = 0x2;
  EXPECT_EQ(scan(), S_OK);
  EXPECT_EQ(plugins(), Strings{"silent"});
  EXPECT_TRUE(routes().empty());
  EXPECT_EQ(registry.identifier_word(), 0x2u);
}

TEST_F(ScanTest, AKeyListFillingTheRecordIsReadToItsEndOnly) {
  fake::Plugin &plugin = fake::add_plugin("full", "abcdefghij;");
  plugin.keys_fill_record = true;
  EXPECT_EQ(scan(), S_OK);
  // 260 bytes: 23 whole "abcdefghij;" pieces, then "abcdefg".
  EXPECT_EQ(routes(), (Strings{"abcdefg>full", "abcdefghij>full"}));
}

TEST_F(ScanTest, AFileWhosePathDoesNotFitIsSkipped) {
  fake::world().folder.push_back({std::string(1010, 'n') + ".so", 0});
  fake::add_plugin("alpha", "a");
  EXPECT_EQ(scan(), S_OK);
  EXPECT_EQ(plugins(), Strings{"alpha"});
  EXPECT_EQ(fake::world().loads[0], 1);
}

TEST_F(ScanTest, AnExceptionInGetPluginInfoEndsTheScan) {
  fake::add_plugin("early", "e");
  fake::add_plugin("thrower", "t").during_get_plugin_info = [] {
    throw std::runtime_error("plug-in fault");
  };
  fake::add_plugin("late", "l");
  EXPECT_EQ(scan(), E_FAIL);
  EXPECT_EQ(plugins(), Strings{"early"});
  EXPECT_EQ(routes(), Strings{"e>early"});
  EXPECT_EQ(fake::world().searches_open, 0);
  EXPECT_EQ(fake::world().loads[1], 1) << "the faulting plug-in stays loaded";
  EXPECT_EQ(fake::world().loads[2], 0) << "later files are not looked at";
}

TEST_F(ScanTest, ASecondScanAppendsRecordsButKeysStayWithTheFirst) {
  fake::add_plugin("alpha", "a").identifier = 0x1;
  EXPECT_EQ(scan(), S_OK);
  const tavrel::PluginRecord *first = registry.plugins().front().get();
  EXPECT_EQ(scan(), S_OK);
  ASSERT_EQ(plugins(), (Strings{"alpha", "alpha"}));
  EXPECT_EQ(registry.routes().at("a"), first);
  EXPECT_EQ(fake::world().loads[0], 2);
}

} // namespace

namespace {

using tavrel::FileOutcome;

class ScanReportTest : public CoreTest {};

TEST_F(ScanReportTest, TellsWhatBecameOfEachEntry) {
  auto &folder = fake::world().folder;
  folder.push_back({".", -1, true});
  folder.push_back({"extra.so", -1, true});
  folder.push_back({"notes.so"});
  folder.push_back({std::string(1010, 'n') + ".so", 0});
  fake::Plugin &alpha = fake::add_plugin("alpha", "a;b;a");
  alpha.identifier = 0x3;
  alpha.missing = {"ReFresh", "StopPlugin"};
  fake::add_plugin("headless", "h").missing = {"GetPluginInfo"};
  fake::add_plugin("picky", "p").info_result = 7;
  fake::add_plugin("thrower", "t").during_get_plugin_info = [] {
    throw std::runtime_error("fault");
  };
  fake::add_plugin("late", "l");

  tavrel::ScanReport report;
  EXPECT_EQ(tavrel::scan_plugin_folder(registry, &report), E_FAIL);
  EXPECT_EQ(report.folder, "/host/WebPlugins/");
  std::vector<std::pair<std::string, FileOutcome>> outcomes;
  for (const auto &file : report.files)
    outcomes.emplace_back(file.name.substr(0, 8), file.outcome);
  EXPECT_EQ(outcomes, (std::vector<std::pair<std::string, FileOutcome>>{
                          {"extra.so", FileOutcome::directory},
                          {"notes.so", FileOutcome::not_loaded},
                          {"nnnnnnnn", FileOutcome::path_too_long},
                          {"alpha.so", FileOutcome::accepted},
                          {"headless", FileOutcome::no_get_plugin_info},
                          {"picky.so", FileOutcome::rejected},
                          {"thrower.", FileOutcome::scan_ended}}));
  EXPECT_EQ(report.files[1].error, "not a library");
  const tavrel::FileReport &accepted = report.files[3];
  EXPECT_EQ(accepted.identifier, 0x3u);
  EXPECT_EQ(accepted.keys, (Strings{"a", "b", "a"}));
  EXPECT_TRUE(accepted.key_list_terminated);
  EXPECT_EQ(accepted.entry_points.size(), 11u);
  EXPECT_EQ(accepted.entry_points.front(), "GetPluginInfo");
  EXPECT_EQ(report.files[5].info_result, 7);
}

TEST_F(ScanReportTest, MarksAKeyListWithoutNul) {
  fake::Plugin &plugin = fake::add_plugin("full", "k;");
  plugin.keys_fill_record = true;
  tavrel::ScanReport report;
  EXPECT_EQ(tavrel::scan_plugin_folder(registry, &report), S_OK);
  ASSERT_EQ(report.files.size(), 1u);
  EXPECT_FALSE(report.files[0].key_list_terminated);
}

TEST_F(ScanReportTest, ScansAFolderGivenByPath) {
  fake::world().folder_path = "/elsewhere/plugins/";
  fake::add_plugin("alpha", "a");
  EXPECT_EQ(scan(), S_PLUGIN_NONE) << "nothing beside the executable";
  tavrel::ScanReport report;
  EXPECT_EQ(tavrel::scan_folder(registry, "/elsewhere/plugins/", &report),
            S_OK);
  EXPECT_EQ(report.folder, "/elsewhere/plugins/");
  EXPECT_EQ(plugins(), Strings{"alpha"});
}

} // namespace
