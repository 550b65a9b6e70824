#pragma once
// Builds the game's dico-english folder from the SCOWL word lists.
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace qm::dict {

// The word lists the game's dictionary is made of: common words of every English spelling up
// to the "large" size, without names, abbreviations, contractions or the obscure huge sizes.
std::vector<std::string> ScowlListNames();

// The lists of the everyday words: sizes 10 and 20 of the same spellings, the common words a
// person knows without a dictionary (the level generator proves its levels with them).
std::vector<std::string> EverydayListNames();

// Adds the a-z words of 2..kMaxWordLength letters of one list file (UTF-8 or ISO-8859-1) to
// words; returns false and sets error when the file cannot be read.
bool ReadWordList(const std::string& path, std::vector<std::string>& words, std::string& error);

// True when a word is left out of the game on purpose (slurs a word game would not accept).
bool IsExcludedWord(const std::string& word);

// Sorted, unique words grouped by (first letter, length).
using WordFiles = std::map<std::pair<char, int>, std::vector<std::string>>;
WordFiles GroupWords(std::vector<std::string> words);

// Writes outDir/dico-english and outDir/CREDITS.txt from the lists in scowlDir. The folder is
// written beside its final place and renamed over it only when complete. Returns false with
// error set when a list or outDir is missing, a file cannot be written, or too few words remain.
bool BuildDictionary(const std::string& scowlDir, const std::string& outDir, std::string& error,
                     size_t* wordCount = nullptr);

// Writes outDir/dico-everyday from the everyday lists of scowlDir, as BuildDictionary does.
bool BuildEverydayDictionary(const std::string& scowlDir, const std::string& outDir,
                             std::string& error, size_t* wordCount = nullptr);

// The credits file's text: the SCOWL copyright notices the word lists ask to be shown, and
// WordNet's licence for the definitions.
std::string CreditsText();

// Writes text to path whole (binary, truncating); false with error set when it cannot.
bool WriteTextFile(const std::string& path, const std::string& text, std::string& error);

constexpr int kMaxWordLength = 20;
constexpr size_t kMinimumWordCount = 100000;
constexpr size_t kMinimumEverydayCount = 5000;

}  // namespace qm::dict
