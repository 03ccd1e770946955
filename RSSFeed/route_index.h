// An index over the committed keys of a route table that finds the walk's
// winner (the first key in key order that occurs in the address) in one pass
// over the address, whatever the number of keys.
//
// It is an Aho-Corasick automaton over byte classes whose states carry the
// smallest rank (place in key order) of any key that ends there. Two
// observations keep it small and quick:
//  - A key that has another key as a proper prefix never wins (the prefix
//    occurs wherever it does, and sorts first), so it is left out.
//  - While the automaton stands at depth 2 or less, its state depends only on
//    the last two bytes read. One table indexed by the classes of those two
//    bytes then gives the state and its best rank with no dependence on the
//    state before, and the automaton proper is walked only from the rare
//    places where a match of three bytes or more is under way.
#ifndef TAVREL_ROUTE_INDEX_H
#define TAVREL_ROUTE_INDEX_H

#include <cstdint>
#include <vector>

#include "route_table.h"

namespace tavrel {

class RouteIndex {
public:
  static constexpr std::uint32_t kNone = UINT32_MAX;

  // Indexes the table's committed keys. Throws std::bad_alloc.
  explicit RouteIndex(const RouteTable &table);

  // The rank of the first key in key order that occurs in url, or kNone.
  // Reads only: any number of threads may call it at once.
  std::uint32_t find(const char *url) const;

  // Bytes held.
  std::size_t bytes() const;

private:
  struct PairState {
    std::uint32_t state; // the automaton's state after the two bytes
    std::uint32_t best;  // the smallest rank of a key ending there
    // Bit (class % 64) for each class that leads from state to depth 3. A
    // bit shared by several classes may send a byte the slow way for nothing,
    // never the wrong way.
    std::uint64_t deeper;
  };

  std::uint32_t child(std::uint32_t state, unsigned byte_class) const;
  std::uint32_t deep_step(std::uint32_t state, unsigned byte_class,
                          std::size_t previous_row) const;

  bool empty_key_ = false; // the empty key occurs in every address
  unsigned classes_ = 1;   // class 0: bytes in no key, NUL among them
  std::uint8_t class_of_[256] = {};
  std::uint32_t row_of_[256] = {}; // class * classes_: a row of pairs_
  // States in breadth-first order, so that those of depth 2 or less come first
  // and the children of each state are consecutive, in class order.
  std::uint32_t depth_two_ = 1;            // the first state of depth 2
  std::uint32_t shallow_states_ = 1;       // the first state of depth 3
  std::vector<std::uint32_t> first_child_; // children: [first_child_[s],
                                           // first_child_[s + 1])
  std::vector<std::uint8_t> label_;        // class of the byte leading in
  std::vector<std::uint32_t> fail_;
  std::vector<std::uint32_t> best_; // smallest rank ending at the state or at
                                    // any state its failure links reach
  std::vector<PairState> pairs_;    // [previous class * classes_ + class]
};

} // namespace tavrel

#endif
