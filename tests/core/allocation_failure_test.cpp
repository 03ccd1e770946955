// Fails each allocation of a scan in turn and checks that the registry is left
// sound every time.
#include <string>
#include <vector>

#include "allocation_failure.h"
#include "core_test.h"
#include "routing.h"

namespace {

using tavrel::PluginRecord;

class AllocationFailureTest : public CoreTest {};

TEST_F(AllocationFailureTest, AScanCutShortAnywhereLeavesASoundRegistry) {
  long failing_allocation = 0;
  for (;; ++failing_allocation) {
    fake::reset();
    fake::add_plugin("a", "a1;a2;a3");
    fake::add_plugin("b", "b1;a1");
    fake::add_plugin("c", "c1");

    fake::fail_allocation_after(failing_allocation);
    TavrelResult result = scan();
    bool failed = !fake::allocation_failure_pending();
    fake::fail_allocation_after(-1);
    if (!failed) {
      EXPECT_EQ(result, S_OK);
      EXPECT_EQ(plugins(), (std::vector<std::string>{"a", "b", "c"}));
      break;
    }
    SCOPED_TRACE("allocation " + std::to_string(failing_allocation));
    ASSERT_EQ(result, E_FAIL);
    EXPECT_EQ(fake::world().searches_open, 0);

    // Every key still routes to a plug-in that is loaded and answers.
    for (const auto &[key, record] : registry.routes()) {
      ASSERT_GT(
          fake::world().loads[static_cast<fake::Plugin *>(record->module) -
                              fake::world().plugins],
          0);
      fake::world().events.clear();
      EXPECT_EQ(tavrel::route(registry, key.c_str(), &PluginRecord::ReFresh,
                              key.c_str()),
                S_OK);
      EXPECT_EQ(fake::world().events.size(), 1u);
    }

    // Teardown unloads exactly the listed plug-ins; at most the one whose
    // load was cut short stays loaded.
    const std::size_t listed = registry.plugins().size();
    tavrel::stop_plugins(registry);
    int still_loaded = 0;
    for (int load : fake::world().loads)
      still_loaded += load;
    EXPECT_LE(still_loaded, 1);
    EXPECT_TRUE(registry.routes().empty());
    EXPECT_LE(listed, 2u);
  }
  EXPECT_GT(failing_allocation, 5) << "the scan allocates along the way";
}

} // namespace
