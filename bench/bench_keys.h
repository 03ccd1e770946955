// The key sets and addresses the benchmark and the fuzzer's seeds share.
#ifndef TAVREL_BENCH_KEYS_H
#define TAVREL_BENCH_KEYS_H

#include <fstream>
#include <string>
#include <vector>

namespace bench {

// count keys: "site<i>.example" and, sorting after all of them, the key
// that claims the hit addresses.
inline std::vector<std::string> site_keys(std::size_t count) {
  std::vector<std::string> keys;
  for (std::size_t i = 0; i + 1 < count; ++i)
    keys.push_back("site" + std::to_string(i) + ".example");
  keys.push_back("zzfeeds.example");
  return keys;
}

// The Public Suffix List's rules, wildcards and exceptions without their
// marks; empty when the file is missing.
inline std::vector<std::string> public_suffixes(const std::string &file) {
  std::ifstream list(file);
  std::vector<std::string> keys;
  for (std::string line; std::getline(list, line);) {
    if (!line.empty() && line.back() == '\r')
      line.pop_back();
    if (line.empty() || line.rfind("//", 0) == 0)
      continue;
    if (line.rfind("*.", 0) == 0)
      line.erase(0, 2);
    if (line[0] == '!')
      line.erase(0, 1);
    keys.push_back(line);
  }
  return keys;
}

// An address of exactly length bytes that starts with head, its path filled
// from fill.
inline std::string address(const std::string &head, const std::string &fill,
                           std::size_t length) {
  std::string url = head;
  while (url.size() < length)
    url += fill;
  url.resize(length);
  return url;
}

} // namespace bench

#endif
