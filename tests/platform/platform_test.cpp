// The real platform layer, on its own.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "platform.h"

#if !defined(_WIN32)
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#endif

namespace {

namespace fs = std::filesystem;
using tavrel::platform::EntryKind;

std::string full_executable_path() {
  char buffer[4096];
  EXPECT_TRUE(tavrel::platform::executable_path(buffer, sizeof buffer));
  return buffer;
}

// Buffers of the path's length and one more, each followed by a guard byte
// that must stay untouched: the NUL needs the byte past the path.
TEST(ExecutablePathTest, FitsExactlyWithItsNulAndNeverWritesPastTheBuffer) {
  const std::string path = full_executable_path();
  ASSERT_FALSE(path.empty());
  for (std::size_t size : {path.size() - 1, path.size(), path.size() + 1}) {
    SCOPED_TRACE("buffer of " + std::to_string(size) + " for " +
                 std::to_string(path.size()) + " bytes");
    std::vector<char> buffer(size + 1, '#');
    bool fits = tavrel::platform::executable_path(buffer.data(), size);
    EXPECT_EQ(fits, size > path.size());
    EXPECT_EQ(buffer[size], '#') << "wrote past the buffer";
    if (fits) {
      EXPECT_EQ(std::string(buffer.data()), path);
    }
  }
}

class SearchTest : public ::testing::Test {
protected:
  void SetUp() override {
    folder =
        fs::temp_directory_path() /
        ("tavrel-search-" +
         std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
         "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder);
    fs::create_directories(folder);
  }
  void TearDown() override { fs::remove_all(folder); }

  // Each entry the search yields, as "name=kind".
  std::set<std::string> search() {
    std::string path = folder.string() + tavrel::platform::kPathSeparator;
    std::set<std::string> found;
    tavrel::platform::Search *search =
        tavrel::platform::open_search(path.c_str());
    if (!search)
      return found;
    static const char *const kinds[] = {"file", "directory", "other"};
    tavrel::platform::DirectoryEntry entry;
    while (tavrel::platform::next_entry(search, entry))
      found.insert(std::string(entry.name) + "=" +
                   kinds[static_cast<int>(entry.kind)]);
    tavrel::platform::close_search(search);
    return found;
  }

  fs::path folder;
};

#if defined(_WIN32)
const char kSuffix[] = ".dll";
#else
const char kSuffix[] = ".so";
#endif

TEST_F(SearchTest, ListsOnlyLibraryNamesAndTellsFilesFromDirectories) {
  std::ofstream(folder / (std::string("plugin") + kSuffix)) << "x";
  std::ofstream(folder / "notes.txt") << "x";
  fs::create_directory(folder / (std::string("extra") + kSuffix));
  EXPECT_EQ(search(), (std::set<std::string>{
                          std::string("plugin") + kSuffix + "=file",
                          std::string("extra") + kSuffix + "=directory"}));
}

TEST_F(SearchTest, AnEmptyOrMissingFolderCannotBeSearched) {
  EXPECT_TRUE(search().empty());
  fs::remove_all(folder);
  EXPECT_TRUE(search().empty());
}

#if !defined(_WIN32)
// Links are followed; whatever is neither a regular file nor a directory is
// "other", so that the scan never opens it.
TEST_F(SearchTest, FollowsLinksAndTellsFifosSocketsAndDevicesApart) {
  std::ofstream(folder / "real.so") << "x";
  fs::create_directory(folder / "dir");
  fs::create_symlink(folder / "real.so", folder / "to_file.so");
  fs::create_directory_symlink(folder / "dir", folder / "to_dir.so");
  fs::create_symlink("/dev/null", folder / "device.so");
  fs::create_symlink(folder / "missing", folder / "dangling.so");
  ASSERT_EQ(mkfifo((folder / "fifo.so").c_str(), 0600), 0);
  int sock = socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::string socket_path = (folder / "socket.so").string();
  ASSERT_LT(socket_path.size(), sizeof address.sun_path);
  std::strcpy(address.sun_path, socket_path.c_str());
  ASSERT_EQ(bind(sock, reinterpret_cast<sockaddr *>(&address), sizeof address),
            0);
  EXPECT_EQ(search(),
            (std::set<std::string>{"real.so=file", "to_file.so=file",
                                   "to_dir.so=directory", "device.so=other",
                                   "fifo.so=other", "socket.so=other",
                                   "dangling.so=file"}));
  close(sock);
}
#endif

TEST(LoadLibraryTest, AFailedLoadSaysWhy) {
  tavrel::platform::LoadError error;
  EXPECT_EQ(tavrel::platform::load_library("/no/such/library", error), nullptr);
  EXPECT_FALSE(tavrel::platform::describe(error).empty());
}

} // namespace
