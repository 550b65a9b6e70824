#pragma once
// The dictionary held in memory as a letter tree, so the move search can walk words along a
// line of the Board with the letters of an Easel. The rules themselves still read the files.
#include <cstdint>
#include <string>
#include <vector>

namespace qm {

class Lexicon {
 public:
  // Reads every "dico-<letter><length>" file of the folder; false when none could be read.
  bool Load(const std::string& folder);

  int Root() const { return 0; }
  // The node reached from `node` by a letter 0..25, or -1.
  int Child(int node, int letter) const {
    const uint32_t mask = nodes_[node].mask;
    if (((mask >> letter) & 1u) == 0) return -1;
    return nodes_[node].first + BitCount(mask & ((1u << letter) - 1u));
  }
  // Bit k set when the letter k leads on from `node`.
  uint32_t ChildLetters(int node) const { return nodes_[node].mask & kLetterBits; }
  bool EndsWord(int node) const { return (nodes_[node].mask & kWordBit) != 0; }
  bool Contains(const std::string& lowerWord) const;
  size_t WordCount() const { return words_; }

 private:
  // Counted in registers: without a popcount instruction the builtin is a library call.
  static int BitCount(uint32_t v) {
    v = v - ((v >> 1) & 0x55555555u);
    v = (v & 0x33333333u) + ((v >> 2) & 0x33333333u);
    return static_cast<int>((((v + (v >> 4)) & 0x0F0F0F0Fu) * 0x01010101u) >> 24);
  }
  static constexpr uint32_t kLetterBits = (1u << 26) - 1u;
  static constexpr uint32_t kWordBit = 1u << 31;
  // Children of a node lie side by side from `first`, in letter order: twelve bytes a node
  // keep the walk in the processor's cache.
  struct Node {
    uint32_t mask = 0;  // letters that lead on, and kWordBit
    int32_t first = 0;
  };
  std::vector<Node> nodes_;
  size_t words_ = 0;
};

}  // namespace qm
