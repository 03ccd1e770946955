// Fails each allocation of a scan in turn and checks that the registry is left
// sound every time.
#include <string>
#include <vector>

#include "allocation_failure.h"
#include "core_test.h"
#include "routing.h"

namespace {

using tavrel::PluginRecord;
using Strings = std::vector<std::string>;

class AllocationFailureTest : public CoreTest {};

int slot_of(const PluginRecord *record) {
  return static_cast<int>(static_cast<fake::Plugin *>(record->module) -
                          fake::world().plugins);
}

TEST_F(AllocationFailureTest, AScanCutShortAnywhereLeavesASoundRegistry) {
  const char *const keys[] = {"a1", "a2", "a3", "b1", "c1"};
  long failing_allocation = 0;
  for (;; ++failing_allocation) {
    fake::reset();
    fake::add_plugin("a", "a1;a2;a3").identifier = 0x1;
    fake::add_plugin("b", "b1;a1").identifier = 0x2;
    fake::add_plugin("c", "c1").identifier = 0x4;

    fake::fail_allocation_after(failing_allocation);
    TavrelResult result = scan();
    bool failed = !fake::allocation_failure_pending();
    fake::fail_allocation_after(-1);
    if (!failed) {
      EXPECT_EQ(result, S_OK);
      EXPECT_EQ(plugins(), (Strings{"a", "b", "c"}));
      break;
    }
    SCOPED_TRACE("allocation " + std::to_string(failing_allocation));
    EXPECT_EQ(fake::world().searches_open, 0);
    if (result == S_OK) {
      // Only settling the keys failed, which nobody hears of: the walk
      // answers over what was registered.
      EXPECT_EQ(plugins(), (Strings{"a", "b", "c"}));
    } else {
      ASSERT_EQ(result, E_FAIL);
      EXPECT_LE(plugins().size(), 2u);
    }

    // Every key still routes to a plug-in that is loaded, whose identifier
    // bits were merged before its first key, and that answers.
    for (const char *key : keys) {
      PluginRecord *record = nullptr;
      if (tavrel::find_plugin_for_url(registry, key, &record) != S_OK)
        continue;
      const int slot = slot_of(record);
      ASSERT_GT(fake::world().loads[slot], 0) << key;
      EXPECT_NE(registry.identifier_word() &
                    fake::world().plugins[slot].identifier,
                0u)
          << key;
      if (result == S_OK) {
        EXPECT_EQ(fake::world().plugins[slot].name, std::string(key, 1));
      }
      fake::world().events.clear();
      EXPECT_EQ(tavrel::route(registry, key, &PluginRecord::ReFresh, key),
                S_OK);
      EXPECT_EQ(fake::world().events.size(), 1u);
    }

    // Teardown unloads exactly the listed plug-ins; at most the one whose
    // load was cut short stays loaded.
    tavrel::tear_down(registry);
    int still_loaded = 0;
    for (int load : fake::world().loads)
      still_loaded += load;
    EXPECT_LE(still_loaded, 1);
    EXPECT_EQ(registry.routes().walk("a1b1c1"), nullptr);
  }
  EXPECT_GT(failing_allocation, 5) << "the scan allocates along the way";
}

} // namespace
