#pragma once
// The top moves kept by the search.
#include <algorithm>
#include <cstddef>
#include <utility>
#include <vector>

#include "game/rules/MoveSearch.hpp"

namespace qm::search {

// The best few moves in the order std::partial_sort over all of them would leave: the same
// heap selection, done as the moves are found, so only the few best are ever built.
class TopMoves {
 public:
  explicit TopMoves(size_t keep) : keep_(keep) {}

  // Whether a move of this value changes the selection (build it and Add it only then).
  bool Wants(double value) const {
    return heap_.size() < keep_ || Better(value, heap_.front().value);
  }

  void Add(Candidate cand) {
    if (heap_.size() < keep_) {
      heap_.push_back(std::move(cand));
      if (heap_.size() == keep_) std::make_heap(heap_.begin(), heap_.end(), Compare);
      return;
    }
    ReplaceTop(std::move(cand));
  }

  bool Full() const { return heap_.size() == keep_; }
  // The value a move must beat to enter once Full.
  double Threshold() const { return heap_.front().value; }

  std::vector<Candidate> Take() {
    if (heap_.size() < keep_) std::make_heap(heap_.begin(), heap_.end(), Compare);
    std::sort_heap(heap_.begin(), heap_.end(), Compare);
    return std::move(heap_);
  }

 private:
  static bool Better(double a, double b) { return a > b; }
  static bool Compare(const Candidate& a, const Candidate& b) { return Better(a.value, b.value); }

  // The new move takes the top's place and sinks, as the library's heap selection does.
  void ReplaceTop(Candidate value) {
    const std::ptrdiff_t len = static_cast<std::ptrdiff_t>(heap_.size());
    std::ptrdiff_t hole = 0;
    std::ptrdiff_t child = 0;
    while (child < (len - 1) / 2) {
      child = 2 * (child + 1);
      if (Compare(heap_[child], heap_[child - 1])) --child;
      heap_[hole] = std::move(heap_[child]);
      hole = child;
    }
    if ((len & 1) == 0 && child == (len - 2) / 2) {
      child = 2 * (child + 1);
      heap_[hole] = std::move(heap_[child - 1]);
      hole = child - 1;
    }
    std::ptrdiff_t parent = (hole - 1) / 2;
    while (hole > 0 && Compare(heap_[parent], value)) {
      heap_[hole] = std::move(heap_[parent]);
      hole = parent;
      parent = (hole - 1) / 2;
    }
    heap_[hole] = std::move(value);
  }

  size_t keep_;
  std::vector<Candidate> heap_;
};

}  // namespace qm::search
