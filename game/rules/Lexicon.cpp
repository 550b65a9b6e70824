#include "game/rules/Lexicon.hpp"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace qm {

bool Lexicon::Load(const std::string& folder) {
  nodes_.clear();
  words_ = 0;
  std::vector<std::string> words;
  bool any = false;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    std::string name = entry.path().filename().string();
    // "dico-" + first letter + length: each line holds the word without its first letter.
    if (name.size() < 7 || name.compare(0, 5, "dico-") != 0) continue;
    char first = name[5];
    if (first < 'a' || first > 'z') continue;
    int length = std::atoi(name.c_str() + 6);
    if (length < 2) continue;
    // Only plain files: a pipe or device of that name would block the reader forever.
    if (!entry.is_regular_file(error)) continue;
    std::ifstream file(entry.path(), std::ios::binary);
    if (!file) continue;
    any = true;
    const std::string bytes((std::istreambuf_iterator<char>(file)),
                            std::istreambuf_iterator<char>());
    // Lines end where the game's own lookup ends them, and are taken as they are: the bot
    // knows exactly the words the game accepts.
    size_t at = 0;
    while (at < bytes.size()) {
      size_t end = bytes.find_first_of(std::string("\r\n\0", 3), at);
      if (end == std::string::npos) end = bytes.size();
      std::string word = first + bytes.substr(at, end - at);
      at = end + 1;
      if (end + 1 < bytes.size() && bytes[end] == '\r' && bytes[end + 1] == '\n') ++at;
      if (static_cast<int>(word.size()) != length) continue;
      bool plain = true;
      for (char ch : word) plain = plain && ch >= 'a' && ch <= 'z';
      if (plain) words.push_back(std::move(word));
    }
  }
  std::sort(words.begin(), words.end());
  words.erase(std::unique(words.begin(), words.end()), words.end());
  words_ = words.size();

  // Breadth first: the nodes one letter deeper than a run of sorted words with a common
  // prefix are the distinct letters at that depth, already in letter order.
  struct Pending {
    size_t begin, end;  // the words below this node
    size_t depth;
  };
  std::vector<Pending> queue{{0, words.size(), 0}};
  nodes_.push_back(Node{});
  for (size_t at = 0; at < queue.size(); ++at) {
    const Pending node = queue[at];
    nodes_[at].first = static_cast<int32_t>(nodes_.size());
    size_t i = node.begin;
    if (i < node.end && words[i].size() == node.depth) {
      nodes_[at].mask |= kWordBit;
      ++i;
    }
    while (i < node.end) {
      const char letter = words[i][node.depth];
      size_t j = i;
      while (j < node.end && words[j][node.depth] == letter) ++j;
      nodes_[at].mask |= 1u << (letter - 'a');
      queue.push_back({i, j, node.depth + 1});
      nodes_.push_back(Node{});
      i = j;
    }
  }
  return any && words_ > 0;
}

bool Lexicon::Contains(const std::string& lowerWord) const {
  if (lowerWord.size() < 2 || nodes_.empty()) return false;
  int node = 0;
  for (char ch : lowerWord) {
    if (ch < 'a' || ch > 'z') return false;
    node = Child(node, ch - 'a');
    if (node < 0) return false;
  }
  return EndsWord(node);
}

}  // namespace qm
