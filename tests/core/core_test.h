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
  void TearDown() override {
    for (fake::Plugin &plugin : fake::world().plugins)
      plugin.during.clear();
    tavrel::tear_down(registry);
  }

  TavrelResult scan() { return tavrel::load_plugins(registry); }

  // The events recorded since the last call.
  std::vector<std::string> take_events() {
    return std::exchange(fake::world().events, {});
  }

  static std::string name_of(const tavrel::PluginRecord *record) {
    return static_cast<fake::Plugin *>(record->module)->name;
  }

  // The committed route table in key order, as "key>plugin".
  std::vector<std::string> routes() const {
    std::vector<std::string> table;
    const tavrel::RouteTable &routes = registry.routes();
    for (std::size_t rank = 0; rank < routes.size(); ++rank)
      table.push_back(std::string(routes.key(rank)) + ">" +
                      name_of(routes.record(rank)));
    return table;
  }

  // The plug-ins in list order.
  std::vector<std::string> plugins() const {
    std::vector<std::string> names;
    for (std::size_t i = 0; i < registry.plugin_count(); ++i)
      names.push_back(name_of(&registry.plugin(i)));
    return names;
  }

  tavrel::Registry registry;
};

#endif
