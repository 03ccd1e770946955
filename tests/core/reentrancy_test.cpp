// Plug-ins that call back into the library's lifecycle from inside the calls
// it makes into them. The library refuses what it cannot carry out and stays
// sound (the sanitizer suite runs these under AddressSanitizer).
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "Tavrel.h"
#include "fake_platform.h"

namespace {

struct Callee {
  const char *name;
  std::function<TavrelResult()> call;
};

const Callee kCallees[] = {
    {"InitializeTavrel", [] { return InitializeTavrel(); }},
    {"UninitializeTavrel", [] { return UninitializeTavrel(); }},
    {"StartTavrel", [] { return StartTavrel(); }},
    {"ReFresh", [] { return ReFresh("b"); }},
};

const char *const kCallers[] = {
    "GetPluginInfo",    "LoadConfigInfo", "SetCallbackInterface",
    "CallPropertyPage", "ReFresh",        "StopPlugin"};

// What the nested call answers. Plug-in b is listed before the calling
// plug-in a and claims "b"; every plug-in's entry points return 0.
TavrelResult expected(const std::string &caller, const std::string &callee) {
  const bool reshaping = caller == "GetPluginInfo" || caller == "StopPlugin";
  if (callee == "UninitializeTavrel")
    return E_ILLEGAL_METHOD_CALL;
  if (callee == "InitializeTavrel")
    return reshaping ? E_ILLEGAL_METHOD_CALL : S_OK;
  if (callee == "ReFresh" && caller == "StopPlugin")
    return E_PLUGIN_NOTFOUND; // b is stopped and unloaded before a
  return 0;
}

using Pair = std::tuple<const char *, Callee>;

class ReentrancyTest : public ::testing::TestWithParam<Pair> {
protected:
  void SetUp() override { fake::reset(); }
};

TEST_P(ReentrancyTest, IsRefusedOrCarriedOutSoundly) {
  const std::string caller = std::get<0>(GetParam());
  const Callee &callee = std::get<1>(GetParam());
  fake::add_plugin("b", "b");
  fake::Plugin &a = fake::add_plugin("a", "a");
  bool called = false;
  TavrelResult nested = 0x7777;
  a.during[caller] = [&] {
    if (called)
      return;
    called = true;
    nested = callee.call();
  };

  EXPECT_EQ(InitializeTavrel(), S_OK);
  StartTavrel();
  SetCallbackInterface(nullptr);
  int32_t count = 0;
  EXPECT_EQ(FillSheetPage(nullptr, &count, 0), S_OK);
  std::vector<HPROPSHEETPAGE> pages(count + 4);
  count = static_cast<int32_t>(pages.size());
  EXPECT_EQ(FillSheetPage(pages.data(), &count, 0), S_OK);
  EXPECT_EQ(ReFresh("a"), 0);
  EXPECT_EQ(UninitializeTavrel(), S_OK);

  ASSERT_TRUE(called);
  EXPECT_EQ(nested, expected(caller, callee.name));
  EXPECT_EQ(ReFresh("a"), E_PLUGIN_NOTFOUND);
  EXPECT_EQ(StartTavrel(), S_PLUGIN_NONE);
  for (int load : fake::world().loads)
    EXPECT_EQ(load, 0) << "every library loaded was unloaded once";
  a.during.clear();
}

INSTANTIATE_TEST_SUITE_P(Pairs, ReentrancyTest,
                         ::testing::Combine(::testing::ValuesIn(kCallers),
                                            ::testing::ValuesIn(kCallees)),
                         [](const auto &info) {
                           return std::string(std::get<0>(info.param)) +
                                  "_calls_" + std::get<1>(info.param).name;
                         });

} // namespace
