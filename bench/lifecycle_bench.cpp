// What the scan and the teardown cost against the platform's own work: bare
// loads (load, bind the thirteen entry points, GetPluginInfo, all kept
// loaded) and bare unloads of the same files, measured in the same run.
//
//   tavrel_lifecycle_bench [--quick] PLUGIN_FILE [COUNT...]
//
// --quick measures once: the test suite's run.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "lifecycle.h"
#include "platform.h"
#include "plugin_record.h"
#include "scan.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double seconds_since(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

struct Times {
  double load = 1e30, unload = 1e30;
};

// The platform's share of a scan and a teardown, without the registry.
void bare(const std::vector<std::string> &files, Times &times) {
  std::vector<tavrel::PluginRecord> records(files.size());
  auto start = Clock::now();
  for (std::size_t i = 0; i < files.size(); ++i) {
    tavrel::platform::LoadError error;
    records[i].module = tavrel::platform::load_library(files[i].c_str(), error);
    tavrel::bind_entry_points(records[i]);
    PluginInfo info{};
    info.cbSize = sizeof info;
    records[i].GetPluginInfo(&info);
  }
  times.load = std::min(times.load, seconds_since(start));
  start = Clock::now();
  for (tavrel::PluginRecord &record : records) {
    record.StopPlugin();
    tavrel::platform::unload_library(record.module);
  }
  times.unload = std::min(times.unload, seconds_since(start));
}

struct Nobody final : tavrel::ScanObserver {};

void library(const std::string &folder, Times &times) {
  tavrel::Registry registry;
  Nobody nobody;
  auto start = Clock::now();
  tavrel::scan_folder(registry, folder.c_str(), nobody);
  times.load = std::min(times.load, seconds_since(start));
  start = Clock::now();
  tavrel::tear_down(registry);
  times.unload = std::min(times.unload, seconds_since(start));
}

} // namespace

int main(int argc, char **argv) {
  int rounds = 5, first = 1;
  if (argc > 1 && std::string(argv[1]) == "--quick") {
    rounds = 1;
    first = 2;
  }
  if (argc <= first) {
    std::fprintf(stderr,
                 "usage: tavrel_lifecycle_bench [--quick] PLUGIN [COUNT...]\n");
    return 2;
  }
  const char *plugin = argv[first];
  std::vector<std::size_t> counts;
  for (int i = first + 1; i < argc; ++i)
    counts.push_back(std::strtoul(argv[i], nullptr, 10));
  if (counts.empty())
    counts = {40, 334, 2000};

  std::printf("%8s %10s %10s %7s %11s %11s %7s\n", "plug-ins", "bare ms",
              "scan ms", "ratio", "unload ms", "teardown ms", "ratio");
  for (std::size_t count : counts) {
    const fs::path folder =
        fs::temp_directory_path() / ("tavrel-bench-" + std::to_string(count));
    fs::remove_all(folder);
    fs::create_directories(folder);
    std::vector<std::string> files;
    for (std::size_t i = 0; i < count; ++i) {
      char name[32];
      std::snprintf(name, sizeof name, "p%04zu.so", i);
      fs::copy_file(plugin, folder / name);
      files.push_back((folder / name).string());
    }
    Times bare_times, library_times;
    for (int round = 0; round < rounds; ++round) {
      bare(files, bare_times);
      library(folder.string() + "/", library_times);
    }
    std::printf("%8zu %10.2f %10.2f %7.2f %11.2f %11.2f %7.2f\n", count,
                bare_times.load * 1e3, library_times.load * 1e3,
                library_times.load / bare_times.load, bare_times.unload * 1e3,
                library_times.unload * 1e3,
                library_times.unload / bare_times.unload);
    fs::remove_all(folder);
  }
  std::printf("\ntargets: scan <= 1.10x bare loads, teardown <= 3x bare "
              "unloads\n");
  return 0;
}
