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
  int Child(int node, int letter) const { return nodes_[node].child[letter]; }
  bool EndsWord(int node) const { return nodes_[node].word; }
  bool Contains(const std::string& lowerWord) const;
  size_t WordCount() const { return words_; }

 private:
  struct Node {
    int32_t child[26];
    bool word = false;
  };
  void Insert(const std::string& word);
  int NewNode();

  std::vector<Node> nodes_;
  size_t words_ = 0;
};

}  // namespace qm
