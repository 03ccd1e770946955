// A fixture for tests that drive the core on a private registry over the fake
// platform layer.
#ifndef TAVREL_TESTS_CORE_TEST_H
#define TAVREL_TESTS_CORE_TEST_H

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "fake_platform.h"
#include "lifecycle.h"
#include "registry.h"
#include "scan.h"

class CoreTest : public ::testing::Test {
protected:
  void SetUp() override { fake::reset(); }
  void TearDown() override { tavrel::stop_plugins(registry); }

  TavrelResult scan() { return tavrel::scan_plugin_folder(registry); }

  // The events recorded since the last call.
  std::vector<std::string> take_events() {
    return std::exchange(fake::world().events, {});
  }

  static std::string name_of(const tavrel::PluginRecord *record) {
    return static_cast<fake::Plugin *>(record->module)->name;
  }

  // The route table in key order, as "key>plugin".
  std::vector<std::string> routes() const {
    std::vector<std::string> table;
    for (const auto &[key, record] : registry.routes())
      table.push_back(key + ">" + name_of(record));
    return table;
  }

  // The plug-ins in list order.
  std::vector<std::string> plugins() const {
    std::vector<std::string> names;
    for (const auto &record : registry.plugins())
      names.push_back(name_of(record.get()));
    return names;
  }

  tavrel::Registry registry;
};

#endif
