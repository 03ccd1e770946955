#include "route_table.h"

#include <cstring>

namespace tavrel {

void RouteTable::add(std::string_view key, PluginRecord *record) {
  Route route{static_cast<std::uint32_t>(text_.size()),
              static_cast<std::uint32_t>(key.size()), record};
  // Should the entry fail to fit, the bytes appended stay unused until the
  // next commit: no entry refers to them.
  text_.append(key).push_back('\0');
  pending_.push_back(route);
}

void RouteTable::commit() {
  // Live keys in key order; of equal keys the earliest registration first:
  // committed keys were all registered before the pending ones.
  std::vector<const Route *> order;
  order.reserve(sorted_.size() + pending_.size());
  for (const Route &route : sorted_)
    if (!route.record->unloaded)
      order.push_back(&route);
  const auto committed_end = order.size();
  for (const Route &route : pending_)
    if (!route.record->unloaded)
      order.push_back(&route);
  auto by_key = [&](const Route *a, const Route *b) {
    return text_of(*a) < text_of(*b);
  };
  std::stable_sort(order.begin() + committed_end, order.end(), by_key);
  std::inplace_merge(order.begin(), order.begin() + committed_end, order.end(),
                     by_key);

  std::string text;
  std::vector<Route> sorted;
  sorted.reserve(order.size());
  std::string_view previous;
  for (const Route *route : order) {
    std::string_view key = text_of(*route);
    if (!sorted.empty() && key == previous)
      continue;
    previous = key;
    sorted.push_back({static_cast<std::uint32_t>(text.size()), route->length,
                      route->record});
    text.append(key).push_back('\0');
  }
  text_.swap(text);
  sorted_.swap(sorted);
  pending_.clear();
}

void RouteTable::clear() {
  std::string().swap(text_);
  std::vector<Route>().swap(sorted_);
  std::vector<Route>().swap(pending_);
}

bool RouteTable::occurs(const Route &route, const char *url) const {
  return !route.record->unloaded &&
         std::strstr(url, text_.data() + route.offset) != nullptr;
}

PluginRecord *RouteTable::walk(const char *url) const {
  const Route *best = nullptr;
  for (const Route &route : sorted_) {
    if (occurs(route, url)) {
      best = &route;
      break;
    }
  }
  // Not yet in order: each is weighed against the best so far; a key equal
  // to it was registered later and loses.
  for (const Route &route : pending_) {
    if (occurs(route, url) && (!best || text_of(route) < text_of(*best)))
      best = &route;
  }
  return best ? best->record : nullptr;
}

std::size_t RouteTable::bytes() const {
  return text_.capacity() +
         (sorted_.capacity() + pending_.capacity()) * sizeof(Route);
}

} // namespace tavrel
