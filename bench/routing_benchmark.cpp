// The cost of choosing a plug-in for an address: a walk over every key with
// a substring test each, so it grows with keys times address length.
#include <benchmark/benchmark.h>

#include <string>

#include "registry.h"
#include "routing.h"

namespace {

void fill(tavrel::Registry &registry, tavrel::PluginRecord &record, int keys) {
  for (int i = 0; i < keys; ++i)
    registry.register_key("site" + std::to_string(i) + ".example", &record);
}

// No key occurs: the whole table is walked.
void BM_UnclaimedAddress(benchmark::State &state) {
  tavrel::Registry registry;
  tavrel::PluginRecord record;
  fill(registry, record, static_cast<int>(state.range(0)));
  std::string url = "https://" + std::string(state.range(1), 'x') + "/feed";
  tavrel::PluginRecord *found;
  for (auto _ : state)
    benchmark::DoNotOptimize(
        tavrel::find_plugin_for_url(registry, url.c_str(), &found));
}
BENCHMARK(BM_UnclaimedAddress)->ArgsProduct({{10, 100, 1000}, {32, 256}});

// The key that claims the address sorts last.
void BM_LastKeyClaims(benchmark::State &state) {
  tavrel::Registry registry;
  tavrel::PluginRecord record;
  fill(registry, record, static_cast<int>(state.range(0)));
  std::string url = "https://zz.example/feed";
  registry.register_key("zz.example", &record);
  tavrel::PluginRecord *found;
  for (auto _ : state)
    benchmark::DoNotOptimize(
        tavrel::find_plugin_for_url(registry, url.c_str(), &found));
}
BENCHMARK(BM_LastKeyClaims)->Arg(10)->Arg(100)->Arg(1000);

} // namespace

BENCHMARK_MAIN();
