#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "core_test.h"
#include "key_list.h"

namespace {

using Strings = std::vector<std::string>;
using tavrel::platform::EntryKind;

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

// Ways the plug-in folder's path cannot be had; none starts a search.
struct FolderCase {
  const char *what;
  std::function<void(fake::World &)> arrange;
};

void PrintTo(const FolderCase &c, std::ostream *out) { *out << c.what; }

class UnusableFolderTest : public CoreTest,
                           public ::testing::WithParamInterface<FolderCase> {};

TEST_P(UnusableFolderTest, FailsWithoutSearching) {
  fake::add_plugin("alpha", "a");
  GetParam().arrange(fake::world());
  EXPECT_EQ(scan(), E_FAIL);
  EXPECT_TRUE(take_events().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Paths, UnusableFolderTest,
    ::testing::Values(
        FolderCase{"no executable path",
                   [](fake::World &w) { w.has_executable = false; }},
        FolderCase{"no separator",
                   [](fake::World &w) { w.executable_path = "host"; }},
        // Fits on its own, but not with "WebPlugins/" appended: a folder of
        // 1024 bytes, one more than the buffer holds with its NUL.
        FolderCase{"folder of 1024 bytes", [](fake::World &w) {
                     w.executable_path = "/" + std::string(1011, 'd') + "/h";
                   }}));

// The last folder path that fits: 1023 bytes and the NUL.
TEST_F(ScanTest, AFolderOf1023BytesIsSearched) {
  const std::string executable = "/" + std::string(1010, 'd') + "/h";
  fake::world().executable_path = executable;
  fake::world().folder_path =
      executable.substr(0, executable.size() - 1) + "WebPlugins/";
  ASSERT_EQ(fake::world().folder_path.size(), 1023u);
  fake::add_plugin("a", "a");
  EXPECT_EQ(scan(), S_OK);
  // No file's path fits beside it, but the search ran.
  EXPECT_EQ(take_events(), Strings{"search " + fake::world().folder_path});
}

TEST_F(ScanTest, NoFolderOrNoCandidateIsNone) {
  fake::world().folder_exists = false;
  EXPECT_EQ(scan(), S_PLUGIN_NONE);
  fake::reset();
  EXPECT_EQ(scan(), S_PLUGIN_NONE);
  EXPECT_TRUE(plugins().empty());
}

TEST_F(ScanTest, SkipsDotEntriesWhatIsNoFileAndFilesThatDoNotLoad) {
  auto &folder = fake::world().folder;
  folder.push_back({".", -1, EntryKind::directory});
  folder.push_back({"..", -1, EntryKind::directory});
  folder.push_back({"extra.so", -1, EntryKind::directory});
  folder.push_back({"fifo.so", -1, EntryKind::other});
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
  fake::world().folder.push_back({"extra.so", -1, EntryKind::directory});
  fake::world().folder.push_back({"notes.so"});
  EXPECT_EQ(scan(), S_OK);
  EXPECT_TRUE(plugins().empty());
}

// Plug-ins that load but are not accepted: each is unloaded again and leaves
// neither keys nor identifier bits.
struct RejectionCase {
  const char *what;
  std::function<void(fake::Plugin &)> arrange;
};

void PrintTo(const RejectionCase &c, std::ostream *out) { *out << c.what; }

class RejectionTest : public CoreTest,
                      public ::testing::WithParamInterface<RejectionCase> {};

TEST_P(RejectionTest, LeavesNoTrace) {
  fake::Plugin &picky = fake::add_plugin("picky", "p");
  picky.identifier = 0x8;
  GetParam().arrange(picky);
  fake::add_plugin("alpha", "a");
  EXPECT_EQ(scan(), S_OK);
  EXPECT_EQ(plugins(), Strings{"alpha"});
  EXPECT_EQ(routes(), Strings{"a>alpha"});
  EXPECT_EQ(registry.identifier_word(), 0u);
  EXPECT_EQ(fake::world().loads[0], 0);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, RejectionTest,
    ::testing::Values(
        RejectionCase{"returns 1", [](fake::Plugin &p) { p.info_result = 1; }},
        RejectionCase{"returns E_FAIL",
                      [](fake::Plugin &p) { p.info_result = E_FAIL; }},
        RejectionCase{"lacks GetPluginInfo",
                      [](fake::Plugin &p) { p.missing = {"GetPluginInfo"}; }}));

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

// A file's full path is the folder's 17 bytes and its name: names that make
// 1023 bytes (the last that fit with the NUL) and 1024.
TEST_F(ScanTest, AFilePathOf1023BytesLoadsAndOneOf1024IsSkipped) {
  const std::size_t folder = fake::world().folder_path.size();
  fake::world().folder.push_back(
      {std::string(1024 - folder - 3, 'n') + ".so", 0});
  fake::world().folder.push_back(
      {std::string(1023 - folder - 3, 'f') + ".so", 1});
  fake::add_plugin("a", "a");
  fake::add_plugin("b", "b");
  fake::world().folder.resize(2);
  EXPECT_EQ(scan(), S_OK);
  EXPECT_EQ(plugins(), Strings{"b"});
  EXPECT_EQ(fake::world().loads[0], 0);
  EXPECT_EQ(fake::world().loads[1], 1);
}

TEST_F(ScanTest, AnExceptionInGetPluginInfoEndsTheScan) {
  fake::add_plugin("early", "e");
  fake::add_plugin("thrower", "t").during["GetPluginInfo"] = [] {
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
  const tavrel::PluginRecord *first = &registry.plugin(0);
  EXPECT_EQ(scan(), S_OK);
  ASSERT_EQ(plugins(), (Strings{"alpha", "alpha"}));
  ASSERT_EQ(registry.routes().size(), 1u);
  EXPECT_EQ(registry.routes().record(0), first);
  EXPECT_EQ(fake::world().loads[0], 2);
}

// What the scan tells an observer, written as one line per call.
class RecordingObserver final : public tavrel::ScanObserver {
public:
  void searching(const char *folder) override {
    lines.push_back(std::string("searching ") + folder);
  }
  void skipped(const char *name, tavrel::SkipReason reason) override {
    static const char *const reasons[] = {"directory", "not a file",
                                          "path too long"};
    lines.push_back("skipped " + short_name(name) + ": " +
                    reasons[static_cast<int>(reason)]);
  }
  void loading(const char *name) override {
    lines.push_back("loading " + short_name(name));
  }
  void loaded(const char *name, const tavrel::LoadResult &result) override {
    static const char *const outcomes[] = {"not loaded", "no GetPluginInfo",
                                           "rejected", "accepted"};
    std::string line = "loaded " + short_name(name) + ": " +
                       outcomes[static_cast<int>(result.outcome)];
    if (result.outcome == tavrel::LoadOutcome::not_loaded)
      line += " (" + tavrel::platform::describe(result.error) + ")";
    if (result.outcome == tavrel::LoadOutcome::rejected)
      line += " " + std::to_string(result.verdict);
    if (result.outcome == tavrel::LoadOutcome::accepted) {
      line += " " + std::to_string(result.info.dwIdentifier) + " [" +
              std::string(tavrel::key_list_of(result.info)) + "]";
      line += result.record == &registry->plugin(registry->plugin_count() - 1)
                  ? " listed"
                  : " unlisted";
    }
    lines.push_back(line);
  }

  static std::string short_name(const std::string &name) {
    return name.substr(0, 12);
  }

  const tavrel::Registry *registry = nullptr;
  Strings lines;
};

TEST_F(ScanTest, TellsAnObserverWhatBecomesOfEachEntry) {
  auto &folder = fake::world().folder;
  folder.push_back({".", -1, EntryKind::directory});
  folder.push_back({"extra.so", -1, EntryKind::directory});
  folder.push_back({"fifo.so", -1, EntryKind::other});
  folder.push_back({"notes.so"});
  folder.push_back({std::string(1010, 'n') + ".so", 0});
  fake::add_plugin("alpha", "a;b").identifier = 3;
  fake::add_plugin("headless", "h").missing = {"GetPluginInfo"};
  fake::add_plugin("picky", "p").info_result = 7;
  fake::add_plugin("thrower", "t").during["GetPluginInfo"] = [] {
    throw std::runtime_error("fault");
  };
  fake::add_plugin("late", "l");

  RecordingObserver observer;
  observer.registry = &registry;
  EXPECT_EQ(tavrel::scan_folder(registry, "/host/WebPlugins/", observer),
            E_FAIL);
  EXPECT_EQ(
      observer.lines,
      (Strings{"searching /host/WebPlugins/", "skipped extra.so: directory",
               "skipped fifo.so: not a file", "loading notes.so",
               "loaded notes.so: not loaded (not a library)",
               "skipped nnnnnnnnnnnn: path too long", "loading alpha.so",
               "loaded alpha.so: accepted 3 [a;b] listed",
               "loading headless.so", "loaded headless.so: no GetPluginInfo",
               "loading picky.so", "loaded picky.so: rejected 7",
               "loading thrower.so"}))
      << "a load that an exception cuts short is never reported loaded";
}

TEST_F(ScanTest, ScansAFolderGivenByPath) {
  fake::world().folder_path = "/elsewhere/plugins/";
  fake::add_plugin("alpha", "a");
  EXPECT_EQ(scan(), S_PLUGIN_NONE) << "nothing beside the executable";
  RecordingObserver observer;
  observer.registry = &registry;
  EXPECT_EQ(tavrel::scan_folder(registry, "/elsewhere/plugins/", observer),
            S_OK);
  EXPECT_EQ(observer.lines.front(), "searching /elsewhere/plugins/");
  EXPECT_EQ(plugins(), Strings{"alpha"});
}

} // namespace
