#pragma once
// Reads WordNet's database files (index.*, data.*, *.exc, cntlist.rev) and finds, for a word
// as the game's dictionary holds it, the base form WordNet knows it by and the gloss of its
// most frequent sense.
#include <array>
#include <map>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace qm::dict {

enum PartOfSpeech : int { kNoun = 0, kVerb = 1, kAdjective = 2, kAdverb = 3 };

struct Meaning {
  std::string base;  // the lemma the word is an inflection of (the word itself when not)
  int pos = kNoun;
  std::string gloss;  // the gloss of its most frequent sense written in lower case, cut short
};

class WordNet {
 public:
  // Loads every file of the folder; false with error set when one is missing or unreadable.
  bool Load(const std::string& folder, std::string& error);

  // The base forms WordNet's morphology finds for word in one part of speech, each a lemma
  // of that part of speech's index: the exception list's, the word itself, then the suffix
  // rules' in their order. No duplicates.
  std::vector<std::string> BaseForms(const std::string& word, int pos) const;

  // The meaning of the most frequently used first sense among every base form of every part
  // of speech; false when WordNet does not know the word.
  bool Define(const std::string& word, Meaning& meaning) const;

  // The copyright and licence lines at the head of the data files, verbatim.
  const std::vector<std::string>& LicenceLines() const { return licence_; }

 private:
  struct Lemma {
    std::vector<long> offsets;  // byte offsets in data.pos of its senses, most frequent first
    std::vector<int> tags;      // times each sense was tagged in the semantic concordances
  };
  // The synset's line at offset in data.pos, without its line end.
  std::string_view SynsetLine(int pos, long offset) const;
  // The first sense in which the lemma is written in lower case, as the game's words are
  // ("us" and "it" are otherwise only US and IT); -1 when there is none.
  int FirstLowerCaseSense(int pos, const std::string& lemma) const;

  std::array<std::unordered_map<std::string, Lemma>, 4> index_;
  std::array<std::unordered_map<std::string, std::vector<std::string>>, 4> exceptions_;
  std::array<std::string, 4> data_;
  std::vector<std::string> licence_;
};

// Cuts a WordNet gloss to the definition the game shows: up to its first ';' (the examples
// follow it), at most 250 characters, without surrounding spaces, printable ASCII only.
std::string ShortGloss(const std::string& gloss);

// The definition line's text for a meaning: the gloss, preceded by "(base) " when the word is
// an inflection of another.
std::string DefinitionText(const std::string& word, const Meaning& meaning);

// Writes outDir/definitions/english from the words of outDir/dico-english and the WordNet
// files in wordnetDir: a header of licence lines (each starting with a space), then one line
// per defined word, "word<TAB>definition", in byte order so that a lookup can bisect it.
bool BuildDefinitions(const std::string& wordnetDir, const std::string& outDir, std::string& error,
                      size_t* definedCount = nullptr, size_t* wordCount = nullptr);

constexpr size_t kMaxGlossLength = 250;

}  // namespace qm::dict
