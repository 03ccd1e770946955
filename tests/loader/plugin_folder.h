// A fixture for tests that drive the real library: it lays fixture plug-ins
// into the WebPlugins folder beside the running test executable, where
// InitializeTavrel looks for them.
#ifndef TAVREL_TESTS_PLUGIN_FOLDER_H
#define TAVREL_TESTS_PLUGIN_FOLDER_H

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "Tavrel.h"

class PluginFolderTest : public ::testing::Test {
public:
  static std::filesystem::path folder();
  static const char *library_suffix();

protected:
  void SetUp() override;
  void TearDown() override;

  // Copies the fixture plug-in `fixture` into the folder as `name` (plus the
  // platform's library suffix). The scan takes files in name order.
  static void install(const std::string &fixture, const std::string &name);
  // Where the fixture's own file is, and the path install() gives name.
  static std::filesystem::path fixture_path(const std::string &fixture);
  static std::filesystem::path entry_path(const std::string &name);
  static void install_text_file(const std::string &name);
  static void install_directory(const std::string &name);
  static void remove_folder();

  // The fixture log since the last call, one event per entry.
  static std::vector<std::string> take_log();
};

// The text a fixture logs for a pointer argument.
std::string pointer_text(const void *pointer);

#endif
