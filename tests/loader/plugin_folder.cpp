#include "plugin_folder.h"

#include <cstdio>
#include <fstream>
#include <iomanip>
#include <sstream>

#if defined(_WIN32)
#include <windows.h>
#endif

#include "fixture_files.h"
#include "fixture_log.h"

namespace fs = std::filesystem;

namespace {

fs::path host_directory() {
#if defined(_WIN32)
  wchar_t path[MAX_PATH];
  DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  return fs::path(std::wstring(path, length)).parent_path();
#else
  return fs::read_symlink("/proc/self/exe").parent_path();
#endif
}

// Installed files get a per-test prefix: a plug-in left loaded by a failed
// scan (Windows cannot delete it, only move it) never shares a path with a
// later test's file.
int test_number = 0;
int retired_files = 0;

std::string unique(const std::string &name) {
  std::ostringstream text;
  text << 't' << std::setw(4) << std::setfill('0') << test_number << '_'
       << name;
  return text.str();
}

// Moves everything out of the folder, into a sibling that is emptied when it
// can be.
void retire_folder() {
  fs::path retired = host_directory() / "retired";
  std::error_code ignored;
  fs::remove_all(retired, ignored);
  if (!fs::exists(PluginFolderTest::folder()))
    return;
  fs::create_directories(retired);
  for (const auto &entry : fs::directory_iterator(PluginFolderTest::folder()))
    fs::rename(entry.path(), retired / (std::to_string(++retired_files) + '_' +
                                        entry.path().filename().string()));
  fs::remove(PluginFolderTest::folder());
}

} // namespace

fs::path PluginFolderTest::folder() { return host_directory() / "WebPlugins"; }

const char *PluginFolderTest::library_suffix() {
#if defined(_WIN32)
  return ".dll";
#else
  return ".so";
#endif
}

void PluginFolderTest::SetUp() {
  ++test_number;
  retire_folder();
  fs::create_directories(folder());
  fixture_log_clear();
}

void PluginFolderTest::TearDown() {
  EXPECT_EQ(UninitializeTavrel(), S_OK);
  retire_folder();
}

fs::path PluginFolderTest::fixture_path(const std::string &fixture) {
  for (const FixtureFile &file : kFixtureFiles)
    if (fixture == file.name)
      return host_directory() / FIXTURE_FOLDER / file.file;
  ADD_FAILURE() << "no fixture " << fixture;
  return {};
}

void PluginFolderTest::install(const std::string &fixture,
                               const std::string &name) {
  fs::copy_file(fixture_path(fixture),
                folder() / (unique(name) + library_suffix()));
}

fs::path PluginFolderTest::entry_path(const std::string &name) {
  return folder() / (unique(name) + library_suffix());
}

void PluginFolderTest::install_text_file(const std::string &name) {
  std::ofstream(folder() / (unique(name) + library_suffix()))
      << "not a library\n";
}

void PluginFolderTest::install_directory(const std::string &name) {
  fs::create_directory(folder() / (unique(name) + library_suffix()));
}

void PluginFolderTest::remove_folder() { fs::remove(folder()); }

std::vector<std::string> PluginFolderTest::take_log() {
  std::vector<std::string> events;
  std::istringstream text(fixture_log_text());
  for (std::string line; std::getline(text, line);)
    events.push_back(line);
  fixture_log_clear();
  return events;
}

std::string pointer_text(const void *pointer) {
  char text[32];
  std::snprintf(text, sizeof text, FIXTURE_POINTER_FORMAT,
                FIXTURE_POINTER(pointer));
  return text;
}
