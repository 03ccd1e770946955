#include "route_index.h"

#include <algorithm>

namespace tavrel {
namespace {

// The trie of the keys that can win, as it is first built: in the order
// nodes are created, children linked as lists.
struct Trie {
  std::vector<std::uint32_t> first_child, last_child, next_sibling, rank;
  std::vector<std::uint8_t> label;

  std::uint32_t add_node(std::uint32_t parent, std::uint8_t byte_class) {
    auto node = static_cast<std::uint32_t>(label.size());
    first_child.push_back(0);
    last_child.push_back(0);
    next_sibling.push_back(0);
    rank.push_back(RouteIndex::kNone);
    label.push_back(byte_class);
    if (first_child[parent] == 0)
      first_child[parent] = node;
    else
      next_sibling[last_child[parent]] = node;
    last_child[parent] = node;
    return node;
  }
};

std::size_t common_prefix(std::string_view a, std::string_view b) {
  auto mismatch = std::mismatch(a.begin(), a.end(), b.begin(), b.end());
  return static_cast<std::size_t>(mismatch.first - a.begin());
}

template <typename T> std::size_t held(const std::vector<T> &v) {
  return v.capacity() * sizeof(T);
}

} // namespace

RouteIndex::RouteIndex(const RouteTable &table) {
  if (table.size() == 0)
    return;
  if (table.key(0).empty()) {
    empty_key_ = true;
    return;
  }

  bool used[256] = {};
  for (std::size_t rank = 0; rank < table.size(); ++rank)
    for (unsigned char byte : table.key(rank))
      used[byte] = true;
  for (unsigned byte = 1; byte < 256; ++byte)
    if (used[byte])
      class_of_[byte] = static_cast<std::uint8_t>(classes_++);

  // Keys come in key order, so each one shares with the trie exactly what it
  // shares with the last key inserted, and children join their parent in
  // class order. A key that extends the last key inserted never wins.
  Trie trie;
  trie.add_node(0, 0);
  std::vector<std::uint32_t> path{0}; // the last key's nodes, by depth
  std::string_view last;
  for (std::size_t rank = 0; rank < table.size(); ++rank) {
    std::string_view key = table.key(rank);
    std::size_t shared = common_prefix(last, key);
    if (rank > 0 && shared == last.size())
      continue;
    path.resize(key.size() + 1);
    for (std::size_t depth = shared; depth < key.size(); ++depth)
      path[depth + 1] = trie.add_node(
          path[depth], class_of_[static_cast<unsigned char>(key[depth])]);
    trie.rank[path[key.size()]] = static_cast<std::uint32_t>(rank);
    last = key;
  }

  // Renumber breadth-first.
  const auto nodes = static_cast<std::uint32_t>(trie.label.size());
  std::vector<std::uint32_t> order{0}, parent{0};
  std::vector<std::uint8_t> depth{0};
  order.reserve(nodes);
  parent.reserve(nodes);
  depth.reserve(nodes);
  first_child_.assign(nodes + 1, 0);
  for (std::uint32_t next = 0; next < order.size(); ++next) {
    first_child_[next] = static_cast<std::uint32_t>(order.size());
    for (std::uint32_t node = trie.first_child[order[next]]; node != 0;
         node = trie.next_sibling[node]) {
      order.push_back(node);
      parent.push_back(next);
      depth.push_back(
          static_cast<std::uint8_t>(std::min(depth[next] + 1, 255)));
    }
  }
  first_child_[nodes] = nodes;
  label_.resize(nodes);
  best_.resize(nodes);
  for (std::uint32_t state = 0; state < nodes; ++state) {
    label_[state] = trie.label[order[state]];
    best_[state] = trie.rank[order[state]];
  }
  depth_two_ = static_cast<std::uint32_t>(
      std::upper_bound(depth.begin(), depth.end(), 1) - depth.begin());
  shallow_states_ = static_cast<std::uint32_t>(
      std::upper_bound(depth.begin(), depth.end(), 2) - depth.begin());
  trie = Trie();

  // Failure links, parents before children.
  fail_.assign(nodes, 0);
  for (std::uint32_t state = 1; state < nodes; ++state) {
    std::uint32_t from = parent[state];
    if (from != 0) {
      for (std::uint32_t suffix = fail_[from];; suffix = fail_[suffix]) {
        if (std::uint32_t next = child(suffix, label_[state])) {
          fail_[state] = next;
          break;
        }
        if (suffix == 0)
          break;
      }
    }
    best_[state] = std::min(best_[state], best_[fail_[state]]);
  }

  for (unsigned byte = 0; byte < 256; ++byte)
    row_of_[byte] = class_of_[byte] * classes_;
  pairs_.resize(std::size_t{classes_} * classes_);
  for (unsigned before = 0; before < classes_; ++before) {
    std::uint32_t first = before ? child(0, before) : 0;
    for (unsigned now = 0; now < classes_; ++now) {
      std::uint32_t state = first ? child(first, now) : 0;
      if (state == 0)
        state = child(0, now);
      PairState &pair = pairs_[before * classes_ + now];
      pair = {state, best_[state], 0};
      if (state >= depth_two_)
        for (std::uint32_t next = first_child_[state];
             next < first_child_[state + 1]; ++next)
          pair.deeper |= std::uint64_t{1} << (label_[next] % 64);
    }
  }
}

std::uint32_t RouteIndex::child(std::uint32_t state,
                                unsigned byte_class) const {
  for (std::uint32_t next = first_child_[state]; next < first_child_[state + 1];
       ++next) {
    if (label_[next] == byte_class)
      return next;
    if (label_[next] > byte_class)
      break;
  }
  return 0;
}

// One step of the automaton proper from a state deeper than 2.
std::uint32_t RouteIndex::deep_step(std::uint32_t state, unsigned byte_class,
                                    std::size_t previous_row) const {
  for (;;) {
    if (std::uint32_t next = child(state, byte_class))
      return next;
    state = fail_[state];
    // The first shallow state on the failure chain is the one the last two
    // bytes alone give, and the pair table knows where it goes, unless a
    // state of depth 2 leads on to depth 3.
    if (state < shallow_states_) {
      if (state >= depth_two_)
        if (std::uint32_t next = child(state, byte_class))
          return next;
      return pairs_[previous_row + byte_class].state;
    }
  }
}

std::uint32_t RouteIndex::find(const char *url) const {
  if (empty_key_)
    return 0;
  if (best_.empty())
    return kNone;
  static constexpr PairState kStart = {0, kNone, 0};
  std::uint32_t best = kNone;
  const PairState *last = &kStart; // at the byte before: shallow states only
  std::size_t previous_row = 0;
  for (auto *byte = reinterpret_cast<const unsigned char *>(url); *byte;
       ++byte) {
    const unsigned now = class_of_[*byte];
    std::uint32_t deep = 0;
    if ((last->deeper >> (now % 64)) & 1)
      deep = child(last->state, now);
    if (!deep) {
      last = &pairs_[previous_row + now];
      if (last->best < best) {
        best = last->best;
        if (best == 0)
          return 0;
      }
      previous_row = row_of_[*byte];
      continue;
    }
    // A match of three bytes or more is under way: the automaton proper,
    // until it falls back to a shallow state.
    for (;;) {
      if (best_[deep] < best) {
        best = best_[deep];
        if (best == 0)
          return 0;
      }
      previous_row = row_of_[*byte];
      if (!*++byte)
        return best;
      const unsigned next = class_of_[*byte];
      deep = deep_step(deep, next, previous_row);
      if (deep < shallow_states_) {
        last = &pairs_[previous_row + next];
        if (last->best < best) {
          best = last->best;
          if (best == 0)
            return 0;
        }
        previous_row = row_of_[*byte];
        break;
      }
    }
  }
  return best;
}

std::size_t RouteIndex::bytes() const {
  return sizeof *this + held(first_child_) + held(label_) + held(fail_) +
         held(best_) + held(pairs_);
}

} // namespace tavrel
