// libFuzzer target: the index against the walk on a key table and an address
// taken from the input. The input is NUL-separated pieces: the address, then
// the keys (repeats and the empty key included).
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "route_index.h"
#include "route_table.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data,
                                      std::size_t size) {
  std::vector<std::string> pieces(1);
  for (std::size_t i = 0; i < size; ++i) {
    if (data[i] == 0)
      pieces.emplace_back();
    else
      pieces.back() += static_cast<char>(data[i]);
  }
  const std::string &url = pieces[0];
  std::vector<tavrel::PluginRecord> records(pieces.size());
  tavrel::RouteTable table;
  for (std::size_t i = 1; i < pieces.size(); ++i)
    table.add(pieces[i], &records[i]);
  // Half the runs route before the keys are sorted in: the walk must weigh
  // pending keys as if they were.
  const tavrel::PluginRecord *pending = table.walk(url.c_str());
  table.commit();
  const tavrel::PluginRecord *walked = table.walk(url.c_str());
  const tavrel::RouteIndex index(table);
  const std::uint32_t rank = index.find(url.c_str());
  const tavrel::PluginRecord *found =
      rank == tavrel::RouteIndex::kNone ? nullptr : table.record(rank);
  if (found != walked || pending != walked) {
    std::fprintf(stderr, "index %p, walk %p, walk before commit %p\n",
                 static_cast<const void *>(found),
                 static_cast<const void *>(walked),
                 static_cast<const void *>(pending));
    std::abort();
  }
  return 0;
}
