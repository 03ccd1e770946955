// What routing costs: the routed lookup (index or walk, as the registry
// chooses), the walk over the same keys, and a floor: one pass over the same
// address with one byte-table load per byte, the least any matcher that reads
// every byte can do. Ratios against the floor and the walk come from the same
// run, so that a busy machine shifts all three alike.
//
//   tavrel_routing_bench [--quick] [PUBLIC_SUFFIX_LIST]
//
// --quick times each row once, briefly: the test suite's run, which checks
// that every row gets the walk's answer and that the program works, not how
// fast it is.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "bench_keys.h"
#include "registry.h"
#include "routing.h"

namespace {

using Clock = std::chrono::steady_clock;

volatile std::uintptr_t sink;
int runs = 11;
auto run_length = std::chrono::milliseconds(20);

// The fastest of several runs of about 20 ms each, in ns per call.
double time_per_call(const std::function<std::uintptr_t()> &call) {
  double best = 1e30;
  for (int run = 0; run < runs; ++run) {
    std::size_t calls = 0;
    std::uintptr_t result = 0;
    const auto start = Clock::now();
    auto now = start;
    do {
      for (int i = 0; i < 16; ++i)
        result += call();
      calls += 16;
      now = Clock::now();
    } while (now - start < run_length);
    sink = result;
    best = std::min(
        best, std::chrono::duration<double, std::nano>(now - start).count() /
                  static_cast<double>(calls));
  }
  return best;
}

std::uint8_t byte_table[256];

__attribute__((noinline)) std::uintptr_t floor_pass(const char *url) {
  std::uintptr_t sum = 0;
  for (auto *byte = reinterpret_cast<const unsigned char *>(url); *byte; ++byte)
    sum += byte_table[*byte];
  return sum;
}

struct KeySet {
  const char *name;
  std::vector<std::string> keys;
  std::string hit_head;  // a hit: claimed by the key that sorts last
  std::string miss_head; // no key occurs
  std::string fill;
};

struct Row {
  std::string keys, length, kind;
  double routed, walk, floor;
};

void bench_key_set(const KeySet &set, std::vector<Row> &rows,
                   std::vector<std::string> &notes) {
  std::vector<tavrel::PluginRecord> records(set.keys.size());
  tavrel::Registry registry;
  for (std::size_t i = 0; i < set.keys.size(); ++i)
    registry.register_key(set.keys[i], &records[i]);
  const auto start = Clock::now();
  registry.settle();
  const double settle_ms =
      std::chrono::duration<double, std::milli>(Clock::now() - start).count();
  const tavrel::RouteIndex *index = registry.index();
  const std::size_t bytes =
      registry.routes().bytes() + (index ? index->bytes() : 0);
  char note[256];
  std::snprintf(note, sizeof note,
                "%-7s %6zu keys: %s; sorting in and indexing %.2f ms; "
                "%.0f bytes per key (%zu table, %zu index)",
                set.name, set.keys.size(), index ? "indexed" : "walked",
                settle_ms, static_cast<double>(bytes) / set.keys.size(),
                registry.routes().bytes(), index ? index->bytes() : 0);
  notes.push_back(note);

  for (std::size_t length : {80, 1000}) {
    for (bool hit : {true, false}) {
      const std::string url =
          bench::address(hit ? set.hit_head : set.miss_head, set.fill, length);
      tavrel::PluginRecord *found = nullptr;
      tavrel::PluginRecord *walked = registry.routes().walk(url.c_str());
      if ((tavrel::find_plugin_for_url(registry, url.c_str(), &found) ==
           S_OK) != (walked != nullptr) ||
          (walked && found != walked) || (walked != nullptr) != hit) {
        std::fprintf(stderr, "%s %zu %s: wrong answer\n", set.name, length,
                     hit ? "hit" : "miss");
        std::exit(1);
      }
      Row row{std::to_string(set.keys.size()) + " " + set.name,
              std::to_string(length),
              hit ? "hit" : "miss",
              0,
              0,
              0};
      row.routed = time_per_call([&] {
        tavrel::PluginRecord *record = nullptr;
        tavrel::find_plugin_for_url(registry, url.c_str(), &record);
        return reinterpret_cast<std::uintptr_t>(record);
      });
      row.walk = time_per_call([&] {
        return reinterpret_cast<std::uintptr_t>(
            registry.routes().walk(url.c_str()));
      });
      row.floor = time_per_call([&] { return floor_pass(url.c_str()); });
      rows.push_back(row);
    }
  }
}

} // namespace

int main(int argc, char **argv) {
  for (int i = 0; i < 256; ++i)
    byte_table[i] = static_cast<std::uint8_t>(i * 7 + 1);
  int first = 1;
  if (argc > 1 && std::string(argv[1]) == "--quick") {
    runs = 1;
    run_length = std::chrono::milliseconds(1);
    first = 2;
  }
  const std::string list =
      argc > first ? argv[first]
                   : "/usr/share/publicsuffix/public_suffix_list.dat";

  std::vector<KeySet> sets;
  for (std::size_t count : {16, 1020, 10020})
    sets.push_back({"sites", bench::site_keys(count),
                    "https://www.zzfeeds.example/", "https://www.feeds.test/",
                    "news/world/europe/rss-2.0/latest.xml?page=1&"});
  sets.push_back({"psl", bench::public_suffixes(list),
                  "https://news.example.co.uk/", "//10.20.30.40:8080/",
                  "0123456789/"});
  if (sets.back().keys.empty()) {
    std::fprintf(stderr, "no keys in %s\n", list.c_str());
    return 1;
  }

  std::vector<Row> rows;
  std::vector<std::string> notes;
  for (const KeySet &set : sets)
    bench_key_set(set, rows, notes);

  std::printf("%-12s %5s %-4s %9s %9s %9s %8s %8s\n", "keys", "bytes", "",
              "routed ns", "walk ns", "floor ns", "r/floor", "r/walk");
  double worst_floor = 0, worst_walk = 0, routed_16 = 0, routed_10020 = 0;
  for (const Row &row : rows) {
    const double to_floor = row.routed / row.floor;
    const double to_walk = row.routed / row.walk;
    worst_floor = std::max(worst_floor, to_floor);
    worst_walk = std::max(worst_walk, to_walk);
    if (row.length == "80" && row.kind == "hit") {
      if (row.keys == "16 sites")
        routed_16 = row.routed;
      if (row.keys == "10020 sites")
        routed_10020 = row.routed;
    }
    std::printf("%-12s %5s %-4s %9.1f %9.1f %9.1f %8.2f %8.2f\n",
                row.keys.c_str(), row.length.c_str(), row.kind.c_str(),
                row.routed, row.walk, row.floor, to_floor, to_walk);
  }
  std::printf("\n");
  for (const std::string &note : notes)
    std::printf("%s\n", note.c_str());
  std::printf("\ntargets: routed <= 6x floor on every row (worst %.2f), "
              "<= 1.10x walk (worst %.2f);\n"
              "         80-byte hit at 10020 keys <= 1.3x 16 keys (%.2f); "
              "<= 200 bytes per key on the list (above)\n",
              worst_floor, worst_walk, routed_10020 / routed_16);
  return 0;
}
