#include "game/rules/Lexicon.hpp"

#include <filesystem>
#include <fstream>

namespace qm {

int Lexicon::NewNode() {
  Node node;
  for (int32_t& c : node.child) c = -1;
  nodes_.push_back(node);
  return static_cast<int>(nodes_.size()) - 1;
}

void Lexicon::Insert(const std::string& word) {
  int node = 0;
  for (char ch : word) {
    int letter = ch - 'a';
    if (nodes_[node].child[letter] < 0) {
      int fresh = NewNode();
      nodes_[node].child[letter] = fresh;
    }
    node = nodes_[node].child[letter];
  }
  if (!nodes_[node].word) ++words_;
  nodes_[node].word = true;
}

bool Lexicon::Load(const std::string& folder) {
  nodes_.clear();
  words_ = 0;
  NewNode();
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
    std::ifstream file(entry.path(), std::ios::binary);
    if (!file) continue;
    any = true;
    std::string line;
    while (std::getline(file, line)) {
      while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
      std::string word = first + line;
      if (static_cast<int>(word.size()) != length) continue;
      bool plain = true;
      for (char ch : word) plain = plain && ch >= 'a' && ch <= 'z';
      if (plain) Insert(word);
    }
  }
  return any && words_ > 0;
}

bool Lexicon::Contains(const std::string& lowerWord) const {
  if (lowerWord.size() < 2) return false;
  int node = 0;
  for (char ch : lowerWord) {
    if (ch < 'a' || ch > 'z') return false;
    node = nodes_[node].child[ch - 'a'];
    if (node < 0) return false;
  }
  return nodes_[node].word;
}

}  // namespace qm
