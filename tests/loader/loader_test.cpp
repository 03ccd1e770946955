// The real library over real fixture plug-ins in the WebPlugins folder.
#include <string>
#include <vector>

#include "plugin_folder.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <pthread.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#endif

namespace {

#if defined(_WIN32)
const void *exception_chain() {
  return reinterpret_cast<NT_TIB *>(NtCurrentTeb())->ExceptionList;
}
#endif

using Strings = std::vector<std::string>;

class ScanTest : public PluginFolderTest {};

TEST_F(ScanTest, NoFolderOrAnEmptyFolderFindsNothing) {
  remove_folder();
  EXPECT_EQ(InitializeTavrel(), S_PLUGIN_NONE);
  std::filesystem::create_directories(folder());
  EXPECT_EQ(InitializeTavrel(), S_PLUGIN_NONE);
  EXPECT_EQ(StartTavrel(), S_PLUGIN_NONE);
}

TEST_F(ScanTest, OnlyUnusableEntriesStillCompleteTheScan) {
  install_directory("extra");
  install_text_file("notes");
  EXPECT_EQ(InitializeTavrel(), S_OK);
  EXPECT_EQ(StartTavrel(), S_PLUGIN_NONE);
}

TEST_F(ScanTest, SkipsWhatItCannotUseAndLoadsTheRest) {
  install_directory("0_extra");
  install_text_file("1_notes");
  install("picky", "2_picky");
  install("headless", "3_headless");
  install("alpha", "4_alpha");
  EXPECT_EQ(InitializeTavrel(), S_OK);
  EXPECT_EQ(take_log(),
            (Strings{"picky loaded", "picky.GetPluginInfo(268,zeroed)",
                     "picky unloaded", "headless loaded", "headless unloaded",
                     "alpha loaded", "alpha.GetPluginInfo(268,zeroed)"}));
  EXPECT_EQ(GetRSSContent("picky"), E_PLUGIN_NOTFOUND);
  EXPECT_EQ(GetRSSContent("headless"), E_PLUGIN_NOTFOUND);
  EXPECT_EQ(GetRSSContent("blog"), 0x10A);
  EXPECT_EQ(GetPluginIdentifier() & 0x100u, 0u)
      << "a rejected plug-in adds no identifier bits";
}

TEST_F(ScanTest, TheFirstFileInNameOrderKeepsASharedKey) {
  install("beta", "1_beta");
  install("alpha", "2_alpha");
  ASSERT_EQ(InitializeTavrel(), S_OK);
  EXPECT_EQ(ReFresh("shared"), 0x10B);
  EXPECT_EQ(ReFresh("blog"), 0x10A);
  take_log();
  SetCallbackInterface(nullptr);
  EXPECT_EQ(take_log(), (Strings{"beta.SetCallbackInterface(0)",
                                 "alpha.SetCallbackInterface(0)"}))
      << "both are listed, in name order";
}

TEST_F(ScanTest, AKeyListWithoutNulIsReadToTheRecordsEnd) {
  install("fullkeys", "1_fullkeys");
  ASSERT_EQ(InitializeTavrel(), S_OK);
  // 260 bytes of "0123456789;": 23 whole keys, then "0123456".
  EXPECT_EQ(GetRSSContent("x0123456x"), 0);
  EXPECT_EQ(GetRSSContent("x012345x"), E_PLUGIN_NOTFOUND);
}

TEST_F(ScanTest, ASecondScanLoadsEveryPluginAgain) {
  install("alpha", "1_alpha");
  ASSERT_EQ(InitializeTavrel(), S_OK);
  ASSERT_EQ(InitializeTavrel(), S_OK);
  take_log();
  EXPECT_EQ(StartTavrel(), 0);
  EXPECT_EQ(take_log(),
            (Strings{"alpha.LoadConfigInfo()", "alpha.LoadConfigInfo()"}));
  EXPECT_EQ(UninitializeTavrel(), S_OK);
  EXPECT_EQ(take_log(), (Strings{"alpha.StopPlugin()", "alpha.StopPlugin()",
                                 "alpha unloaded"}))
      << "each record releases one load; the last one unloads";
}

TEST_F(ScanTest, ARescanAfterTeardownFindsTheSamePlugins) {
  install("alpha", "1_alpha");
  install("beta", "2_beta");
  ASSERT_EQ(InitializeTavrel(), S_OK);
  const uint32_t identifier = GetPluginIdentifier();
  EXPECT_EQ(identifier & 0x5u, 0x5u);
  ASSERT_EQ(UninitializeTavrel(), S_OK);
  EXPECT_EQ(ReFresh("blog"), E_PLUGIN_NOTFOUND);
  EXPECT_EQ(GetPluginIdentifier(), identifier);
  ASSERT_EQ(InitializeTavrel(), S_OK);
  EXPECT_EQ(ReFresh("blog"), 0x10A);
  EXPECT_EQ(ReFresh("news"), 0x10B);
  EXPECT_EQ(GetPluginIdentifier(), identifier);
}

TEST_F(ScanTest, APluginWrittenInCIsBoundByItsPlainNames) {
  install("c_plugin", "1_c_plugin");
  ASSERT_EQ(InitializeTavrel(), S_OK);
  EXPECT_EQ(GetRSSContent("http://c-plugin.example/"), 24);
  EXPECT_EQ(ReFresh("http://c-plugin.example/"), E_PLUGIN_NOTIMPL);
}

// A plug-in that raises while it is being loaded: a C++ exception on Linux,
// a processor fault or a structured exception on Windows.
class FailingLoadTest : public PluginFolderTest,
                        public ::testing::WithParamInterface<const char *> {};

TEST_P(FailingLoadTest, EndsTheScanButKeepsWhatWasLoaded) {
  const std::string failing = GetParam();
  install("alpha", "1_alpha");
  install(failing, "2_" + failing);
  install("beta", "3_beta");
  EXPECT_EQ(InitializeTavrel(), E_FAIL);
  EXPECT_EQ(
      take_log(),
      (Strings{"alpha loaded", "alpha.GetPluginInfo(268,zeroed)",
               failing + " loaded", failing + ".GetPluginInfo(268,zeroed)"}))
      << "later files are not loaded";
  EXPECT_EQ(ReFresh("blog"), 0x10A) << "earlier plug-ins keep working";
  EXPECT_EQ(ReFresh("news"), E_PLUGIN_NOTFOUND);
  EXPECT_EQ(UninitializeTavrel(), S_OK);
  EXPECT_EQ(take_log(), (Strings{"alpha.ReFresh(blog)", "alpha.StopPlugin()",
                                 "alpha unloaded"}))
      << "the failing plug-in is neither stopped nor unloaded";

  // A second scan meets the same plug-in and ends the same way.
#if defined(_WIN32)
  const void *handlers = exception_chain();
#endif
  EXPECT_EQ(InitializeTavrel(), E_FAIL);
  EXPECT_EQ(ReFresh("news"), E_PLUGIN_NOTFOUND);
#if defined(_WIN32)
  EXPECT_EQ(exception_chain(), handlers)
      << "the guard leaves the thread's handler chain as it found it";
#endif
}

#if defined(_WIN32)
INSTANTIATE_TEST_SUITE_P(Windows, FailingLoadTest,
                         ::testing::Values("faulter", "raiser"));

TEST_F(ScanTest, APluginThatHandlesItsOwnFaultIsAccepted) {
  install("recoverer", "1_recoverer");
  install("alpha", "2_alpha");
  EXPECT_EQ(InitializeTavrel(), S_OK);
  EXPECT_EQ(take_log(),
            (Strings{"recoverer loaded", "recoverer.GetPluginInfo(268,zeroed)",
                     "recoverer handled 1 fault", "alpha loaded",
                     "alpha.GetPluginInfo(268,zeroed)"}));
  EXPECT_EQ(ReFresh("recoverer"), 0);
  EXPECT_EQ(ReFresh("blog"), 0x10A);
}
#else
INSTANTIATE_TEST_SUITE_P(Linux, FailingLoadTest, ::testing::Values("thrower"));
#endif

class RoutingTest : public PluginFolderTest {};

TEST_F(RoutingTest, TheKeyThatSortsFirstClaimsTheAddress) {
  install("beta", "1_beta");
  install("alpha", "2_alpha");
  install("delta", "3_delta");
  install("gamma", "4_gamma");
  ASSERT_EQ(InitializeTavrel(), S_OK);
  take_log();
  EXPECT_EQ(GetRSSContent("blognews"), 0x10A);
  EXPECT_EQ(GetRSSContent("http://abcd.example/"), 0);
  EXPECT_EQ(GetRSSContent("http://Blog.example/"), E_PLUGIN_NOTFOUND);
  EXPECT_EQ(take_log(), (Strings{"alpha.GetRSSContent(blognews)",
                                 "gamma.GetRSSContent(http://abcd.example/)"}));
}

TEST_F(RoutingTest, EachExportForwardsExactlyItsArguments) {
  install("alpha", "1_alpha");
  ASSERT_EQ(InitializeTavrel(), S_OK);
  take_log();
  long login_storage = 0, feed_storage = 0;
  auto *login = reinterpret_cast<LoginInfo *>(&login_storage);
  auto *feed = reinterpret_cast<RSSFeedInfo *>(&feed_storage);
  char buffer[16] = {};
  const char *url = "http://blog.example/";

  EXPECT_EQ(GetLoginInfo(url, login), 0x10A);
  EXPECT_EQ(SetLoginInfo(url, login), 0x10A);
  EXPECT_EQ(SetRSSFeedInfo(url, feed), 0x10A);
  EXPECT_EQ(GetRSSFeedInfo(url, feed), 0x10A);
  EXPECT_EQ(ReFresh(url), 0x10A);
  EXPECT_EQ(GetRSSContent(url), 0x10A);
  EXPECT_EQ(ParseFinalURL(url, buffer, sizeof buffer), 0x10A);
  EXPECT_EQ(DeleteRSSFeed(url, "second", "third"), 0x10A);

  const std::string u = url;
  EXPECT_EQ(
      take_log(),
      (Strings{"alpha.GetLoginInfo(" + pointer_text(login) + ")",
               "alpha.SetLoginInfo(" + pointer_text(login) + ")",
               "alpha.SetRSSFeedInfo(" + u + "," + pointer_text(feed) + ")",
               "alpha.GetRSSFeedInfo(" + u + "," + pointer_text(feed) + ")",
               "alpha.ReFresh(" + u + ")", "alpha.GetRSSContent(" + u + ")",
               "alpha.ParseFinalURL(" + u + "," + pointer_text(buffer) + ",16)",
               "alpha.DeleteRSSFeed(" + u + ",second,third)"}));
  EXPECT_STREQ(buffer, "alpha");
}

class LifecycleTest : public PluginFolderTest {};

TEST_F(LifecycleTest, TeardownStopsAndUnloadsOnePluginAfterTheOther) {
  install("alpha", "1_alpha");
  install("bare", "2_bare");
  install("beta", "3_beta");
  ASSERT_EQ(InitializeTavrel(), S_OK);
  take_log();
  EXPECT_EQ(UninitializeTavrel(), S_OK);
  EXPECT_EQ(take_log(),
            (Strings{"alpha.StopPlugin()", "alpha unloaded", "bare unloaded",
                     "beta.StopPlugin()", "beta unloaded"}));
  EXPECT_EQ(ReFresh("blog"), E_PLUGIN_NOTFOUND);
  EXPECT_EQ(StartTavrel(), S_PLUGIN_NONE);
  EXPECT_EQ(UninitializeTavrel(), S_OK);
}

class BroadcastTest : public PluginFolderTest {};

TEST_F(BroadcastTest, PropertyPagesAreCountedAndCollectedInLoadOrder) {
  install("alpha", "1_alpha"); // page 0xA1
  install("beta", "2_beta");   // no page
  install("gamma", "3_gamma"); // page 0xC1
  ASSERT_EQ(InitializeTavrel(), S_OK);
  take_log();

  int32_t count = -7;
  EXPECT_EQ(FillSheetPage(nullptr, &count, 3), S_OK);
  EXPECT_EQ(count, 2);
  EXPECT_TRUE(take_log().empty());

  HPROPSHEETPAGE pages[3] = {};
  count = 3;
  EXPECT_EQ(FillSheetPage(pages, &count, 3), S_OK);
  EXPECT_EQ(count, 2);
  EXPECT_EQ(pages[0], reinterpret_cast<HPROPSHEETPAGE>(0xA1));
  EXPECT_EQ(pages[1], reinterpret_cast<HPROPSHEETPAGE>(0xC1));
  EXPECT_EQ(pages[2], nullptr);
  EXPECT_EQ(take_log(), (Strings{"alpha.CallPropertyPage(3)",
                                 "gamma.CallPropertyPage(3)"}));

  count = 1;
  EXPECT_EQ(FillSheetPage(pages, &count, 4), S_OK);
  EXPECT_EQ(count, 1);
  EXPECT_EQ(take_log(), Strings{"alpha.CallPropertyPage(4)"});
}

TEST_F(BroadcastTest, TheCallbackReachesEveryPluginThatTakesIt) {
  install("alpha", "1_alpha");
  install("bare", "2_bare");
  install("beta", "3_beta");
  ASSERT_EQ(InitializeTavrel(), S_OK);
  take_log();
  long storage = 0;
  auto *callback = reinterpret_cast<IRSSFeedCallback *>(&storage);
  EXPECT_EQ(SetCallbackInterface(callback), S_OK);
  const std::string text = pointer_text(callback);
  EXPECT_EQ(take_log(), (Strings{"alpha.SetCallbackInterface(" + text + ")",
                                 "beta.SetCallbackInterface(" + text + ")"}));
}

#if !defined(_WIN32)
// Entries named like plug-ins that are no regular files: a load could wait
// on a FIFO forever. The scan passes over them and goes on.
TEST_F(ScanTest, PassesOverFifosSocketsDevicesAndLinksToFolders) {
  install("alpha", "9_alpha");
  const std::string fifo = entry_path("1_fifo").string();
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  std::filesystem::create_symlink("/dev/null", entry_path("2_device"));
  std::filesystem::create_directory_symlink(folder().parent_path(),
                                            entry_path("3_folder"));
  int sock = socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const std::string socket_path = entry_path("4_socket").string();
  ASSERT_LT(socket_path.size(), sizeof address.sun_path);
  std::strcpy(address.sun_path, socket_path.c_str());
  ASSERT_EQ(bind(sock, reinterpret_cast<sockaddr *>(&address), sizeof address),
            0);
  EXPECT_EQ(InitializeTavrel(), S_OK);
  close(sock);
  EXPECT_EQ(take_log(),
            (Strings{"alpha loaded", "alpha.GetPluginInfo(268,zeroed)"}));
  EXPECT_EQ(ReFresh("blog"), 0x10A);
}

// A plug-in that ends its thread inside GetPluginInfo: the cancellation
// unwinds through the scan, which closes its listing on the way (the
// sanitizer suite's leak check and the valgrind run see to that).
TEST_F(ScanTest, AThreadEndedInsideTheScanLeavesItsListingClosed) {
  install("alpha", "1_alpha");
  install("exiter", "2_exiter");
  install("beta", "3_beta");
  pthread_t thread;
  ASSERT_EQ(pthread_create(
                &thread, nullptr,
                [](void *) -> void * {
                  InitializeTavrel();
                  return reinterpret_cast<void *>(1);
                },
                nullptr),
            0);
  void *returned = nullptr;
  ASSERT_EQ(pthread_join(thread, &returned), 0);
  EXPECT_EQ(returned, nullptr) << "the thread ended inside the scan";
  EXPECT_EQ(take_log(),
            (Strings{"alpha loaded", "alpha.GetPluginInfo(268,zeroed)",
                     "exiter loaded", "exiter.GetPluginInfo(268,zeroed)"}));
  EXPECT_EQ(ReFresh("blog"), 0x10A) << "what was loaded before works";
  EXPECT_EQ(StartTavrel(), 0) << "nothing on the thread was left marked";
  EXPECT_EQ(UninitializeTavrel(), S_OK);
}
#endif

} // namespace
