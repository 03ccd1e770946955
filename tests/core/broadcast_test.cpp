#include <string>
#include <vector>

#include "broadcast.h"
#include "core_test.h"

namespace {

using Strings = std::vector<std::string>;

HPROPSHEETPAGE page_handle(std::uintptr_t value) {
  return reinterpret_cast<HPROPSHEETPAGE>(value);
}

class BroadcastTest : public CoreTest {
protected:
  // Three plug-ins; the first and the third offer a page.
  void load_three() {
    fake::add_plugin("a", "a").page = page_handle(0xA0);
    fake::add_plugin("b", "b").missing = {"CallPropertyPage",
                                          "SetCallbackInterface"};
    fake::add_plugin("c", "c").page = page_handle(0xC0);
    ASSERT_EQ(scan(), S_OK);
    take_events();
  }
};

TEST_F(BroadcastTest, CallbackReachesEveryPluginThatTakesIt) {
  load_three();
  auto *callback = reinterpret_cast<IRSSFeedCallback *>(0x1234);
  tavrel::hand_out_callback(registry, callback);
  IRSSFeedCallback *none = nullptr;
  tavrel::hand_out_callback(registry, none);
  EXPECT_EQ(take_events(),
            (Strings{fake::call("a", "SetCallbackInterface", callback),
                     fake::call("c", "SetCallbackInterface", callback),
                     fake::call("a", "SetCallbackInterface", none),
                     fake::call("c", "SetCallbackInterface", none)}));
}

TEST_F(BroadcastTest, CountingCallsNoPlugin) {
  load_three();
  int32_t count = 99;
  tavrel::fill_sheet_pages(registry, nullptr, count, 7);
  EXPECT_EQ(count, 2);
  EXPECT_TRUE(take_events().empty());
}

struct FillCase {
  int32_t capacity;
  std::vector<std::uintptr_t> pages;
};

void PrintTo(const FillCase &c, std::ostream *out) {
  *out << "capacity " << c.capacity;
}

class FillSheetTest : public BroadcastTest,
                      public ::testing::WithParamInterface<FillCase> {};

TEST_P(FillSheetTest, FillsInListOrderUpToTheCapacity) {
  load_three();
  const std::uintptr_t untouched = 0xEE;
  std::vector<HPROPSHEETPAGE> pages(4, page_handle(untouched));
  int32_t count = GetParam().capacity;
  tavrel::fill_sheet_pages(registry, pages.data(), count, 7);

  const auto &expected = GetParam().pages;
  ASSERT_EQ(count, static_cast<int32_t>(expected.size()));
  Strings calls;
  for (std::size_t i = 0; i < pages.size(); ++i) {
    std::uintptr_t want = i < expected.size() ? expected[i] : untouched;
    EXPECT_EQ(pages[i], page_handle(want)) << "page " << i;
  }
  for (std::uintptr_t page : expected)
    calls.push_back(page == 0xA0 ? "a.CallPropertyPage(7,null)"
                                 : "c.CallPropertyPage(7,null)");
  EXPECT_EQ(take_events(), calls);
}

INSTANTIATE_TEST_SUITE_P(Capacities, FillSheetTest,
                         ::testing::Values(FillCase{2, {0xA0, 0xC0}},
                                           FillCase{3, {0xA0, 0xC0}},
                                           FillCase{1, {0xA0}}, FillCase{0, {}},
                                           FillCase{-1, {}}));

TEST_F(BroadcastTest, ANullPageIsStoredAndCounted) {
  fake::add_plugin("a", "a").page = nullptr;
  fake::add_plugin("b", "b").page = page_handle(0xB0);
  ASSERT_EQ(scan(), S_OK);
  HPROPSHEETPAGE pages[2] = {page_handle(1), page_handle(1)};
  int32_t count = 2;
  tavrel::fill_sheet_pages(registry, pages, count, 0);
  EXPECT_EQ(count, 2);
  EXPECT_EQ(pages[0], nullptr);
  EXPECT_EQ(pages[1], page_handle(0xB0));
}

TEST_F(BroadcastTest, APluginThatWritesNoPageGivesANullPage) {
  fake::add_plugin("a", "a").writes_page = false;
  fake::add_plugin("b", "b").writes_page = false;
  ASSERT_EQ(scan(), S_OK);
  take_events();
  HPROPSHEETPAGE pages[2] = {page_handle(1), page_handle(1)};
  int32_t count = 2;
  tavrel::fill_sheet_pages(registry, pages, count, 0);
  EXPECT_EQ(count, 2);
  EXPECT_EQ(pages[0], nullptr);
  EXPECT_EQ(pages[1], nullptr);
  EXPECT_EQ(take_events(), (Strings{"a.CallPropertyPage(0,null)",
                                    "b.CallPropertyPage(0,null)"}))
      << "each plug-in finds the variable set to null on entry";
}

TEST_F(BroadcastTest, WithoutPluginsNothingIsCollected) {
  int32_t count = 5;
  tavrel::fill_sheet_pages(registry, nullptr, count, 0);
  EXPECT_EQ(count, 0);
  HPROPSHEETPAGE page = page_handle(1);
  count = 1;
  tavrel::fill_sheet_pages(registry, &page, count, 0);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(page, page_handle(1));
}

} // namespace
