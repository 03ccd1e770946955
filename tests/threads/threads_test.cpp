// Routed calls and the broadcasts that only read, from many threads at once
// over the real library: the index and the walk only read, and each thread's
// mark is its own. The test command also runs this under ThreadSanitizer.
#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "plugin_folder.h"

namespace {

class ThreadsTest : public PluginFolderTest {};

TEST_F(ThreadsTest, RoutedCallsFromManyThreadsAgree) {
  install("many_m", "1_many_m"); // m10 ... m73, enough keys for an index
  install("many_n", "2_many_n"); // n10 ... n73
  ASSERT_EQ(InitializeTavrel(), S_OK);
  ASSERT_EQ(StartTavrel(), 0);
  const uint32_t identifier = GetPluginIdentifier();

  const std::string long_miss(3000, 'q');
  std::atomic<int> wrong{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < 16; ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < 400; ++i) {
        const std::string m = "https://m" + std::to_string(10 + (i + t) % 64);
        const std::string n = "feed://n" + std::to_string(10 + i % 64) + "/x";
        int32_t count = -1;
        if (GetRSSContent(m.c_str()) != 0 || ReFresh(n.c_str()) != 0 ||
            ReFresh("https://z99/") != E_PLUGIN_NOTFOUND ||
            GetRSSContent(long_miss.c_str()) != E_PLUGIN_NOTFOUND ||
            FillSheetPage(nullptr, &count, 0) != S_OK || count != 2 ||
            GetPluginIdentifier() != identifier)
          ++wrong;
      }
    });
  }
  for (std::thread &thread : threads)
    thread.join();
  EXPECT_EQ(wrong.load(), 0);
}

} // namespace
