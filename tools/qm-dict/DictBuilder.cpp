#include "DictBuilder.hpp"

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <system_error>

#include "ScowlCopyright.hpp"

namespace fs = std::filesystem;

namespace qm::dict {
namespace {

// Sizes 80 and 95 hold the strange words of tournament lists and outright errors.
constexpr std::array<int, 8> kSizes = {10, 20, 35, 40, 50, 55, 60, 70};
// "english" holds the words every spelling shares; the others add the American and British
// spellings and their accepted variants, so colour and color both count.
// The two smallest sizes: the words a person who reads ordinary English knows.
constexpr std::array<int, 2> kEverydaySizes = {10, 20};
constexpr std::array<const char*, 4> kCategories = {"english", "american", "british", "variant_1"};

// Ethnic and other slurs that the lists carry as ordinary words. Words with an innocent first
// meaning (chink, dyke, coon, fag) stay: a player may well lay them for that meaning.
constexpr std::array<const char*, 28> kExcluded = {
    "darkey",    "darkeys",    "darkie",   "darkies",  "darky",   "faggot",   "faggots",
    "gook",      "gooks",      "kike",     "kikes",    "nigga",   "niggas",   "nigger",
    "niggers",   "raghead",    "ragheads", "spic",     "spick",   "spicks",   "spics",
    "towelhead", "towelheads", "tranny",   "trannies", "wetback", "wetbacks", "yid"};

bool IsPlainWord(const std::string& word) {
  if (word.size() < 2 || word.size() > static_cast<size_t>(kMaxWordLength)) return false;
  return std::all_of(word.begin(), word.end(), [](char c) { return c >= 'a' && c <= 'z'; });
}

// Writes every word file into folder, which must not exist yet.
bool WriteWordFiles(const WordFiles& files, const fs::path& folder, std::string& error) {
  std::error_code ec;
  fs::create_directory(folder, ec);
  if (ec) {
    error = "cannot create " + folder.string() + ": " + ec.message();
    return false;
  }
  for (const auto& [key, words] : files) {
    std::string text;
    for (const std::string& word : words) {
      text.append(word, 1);  // the file name carries the first letter
      text.push_back('\n');
    }
    const std::string name = std::string("dico-") + key.first + std::to_string(key.second);
    if (!WriteTextFile((folder / name).string(), text, error)) return false;
  }
  return true;
}

// Replaces target by the complete folder fresh; the old one is removed only afterwards.
bool SwapInFolder(const fs::path& fresh, const fs::path& target, std::string& error) {
  std::error_code ec;
  const fs::path old = target.string() + ".old";
  fs::remove_all(old, ec);
  if (fs::exists(target)) {
    fs::rename(target, old, ec);
    if (ec) {
      error = "cannot move the old " + target.string() + " aside: " + ec.message();
      return false;
    }
  }
  fs::rename(fresh, target, ec);
  if (ec) {
    error = "cannot rename " + fresh.string() + " to " + target.string() + ": " + ec.message();
    return false;
  }
  fs::remove_all(old, ec);
  return true;
}

template <size_t N>
std::vector<std::string> ListNames(const std::array<int, N>& sizes) {
  std::vector<std::string> names;
  for (const char* category : kCategories) {
    for (int size : sizes)
      names.push_back(std::string(category) + "-words." + std::to_string(size));
  }
  return names;
}

}  // namespace

std::vector<std::string> EverydayListNames() {
  return ListNames(kEverydaySizes);
}

std::vector<std::string> ScowlListNames() {
  return ListNames(kSizes);
}

bool ReadWordList(const std::string& path, std::vector<std::string>& words, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = "cannot read the word list " + path;
    return false;
  }
  // The lists come as ISO-8859-1 or UTF-8. Either way an accented letter is a byte above 127,
  // and the game lays only the Pieces A to Z, so such a word is simply left out.
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (IsPlainWord(line)) words.push_back(line);
  }
  if (in.bad()) {
    error = "error while reading " + path;
    return false;
  }
  return true;
}

bool IsExcludedWord(const std::string& word) {
  return std::any_of(kExcluded.begin(), kExcluded.end(), [&](const char* w) { return word == w; });
}

WordFiles GroupWords(std::vector<std::string> words) {
  std::sort(words.begin(), words.end());
  words.erase(std::unique(words.begin(), words.end()), words.end());
  WordFiles files;
  for (std::string& word : words) {
    if (!IsPlainWord(word) || IsExcludedWord(word)) continue;
    files[{word[0], static_cast<int>(word.size())}].push_back(std::move(word));
  }
  return files;
}

namespace {

constexpr const char* kCreditsOpening =
    "Quillmosaica - credits\n"
    "======================\n"
    "\n"
    "Pictures, sound effects and music are made by the game's own tools.\n"
    "\n"
    "The English dictionary (folder dico-english) is built from SCOWL\n"
    "(Spell Checker Oriented Word Lists) by Kevin Atkinson, as packaged by\n"
    "Debian (package scowl), sizes 10 to 70 of the english, american,\n"
    "british and variant_1 word lists, keeping the words made of the\n"
    "letters a to z. http://wordlist.aspell.net/\n"
    "\n"
    "SCOWL includes the UK Advanced Cryptics Dictionary, whose notice asks\n"
    "to be shown prominently:\n"
    "\n"
    "  Copyright (c) J Ross Beresford 1993-1999. All Rights Reserved.\n"
    "\n"
    "The copyright notices of SCOWL and of its sources follow verbatim.\n"
    "\n";

constexpr const char* kCreditsDefinitions =
    "\n"
    "The definitions (folder definitions) are taken from WordNet 3.0 by\n"
    "Princeton University, as packaged by Debian (package wordnet-base):\n"
    "for each word of the dictionary that WordNet knows, directly or as\n"
    "an inflection, the gloss of its most frequent sense up to the first\n"
    "semicolon.\n"
    "\n"
    "WordNet's licence follows verbatim.\n"
    "\n";

// A notice copied verbatim, ending its last line.
std::string Verbatim(const char* notice) {
  std::string text = notice;
  if (!text.empty() && text.back() != '\n') text.push_back('\n');
  return text;
}

}  // namespace

std::string CreditsText() {
  return kCreditsOpening + Verbatim(kScowlCopyright) + kCreditsDefinitions +
         Verbatim(kWordNetLicence);
}

bool WriteTextFile(const std::string& path, const std::string& text, std::string& error) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  out.close();
  if (!out) {
    error = "cannot write " + path;
    return false;
  }
  return true;
}

namespace {

// One word folder of outDir from the named lists of scowlDir, written beside its place and
// swapped in whole.
bool BuildWordFolder(const std::string& scowlDir, const std::string& outDir,
                     const std::string& folder, const std::vector<std::string>& lists,
                     size_t minimum, std::string& error, size_t* wordCount) {
  std::error_code ec;
  if (!fs::is_directory(scowlDir, ec)) {
    error = "the SCOWL word lists are missing: no folder " + scowlDir +
            " (install the Debian package scowl)";
    return false;
  }
  if (!fs::is_directory(outDir, ec)) {
    error = "the output folder " + outDir + " does not exist";
    return false;
  }
  std::vector<std::string> words;
  for (const std::string& name : lists) {
    if (!ReadWordList((fs::path(scowlDir) / name).string(), words, error)) return false;
  }
  const WordFiles files = GroupWords(std::move(words));
  size_t count = 0;
  for (const auto& entry : files) count += entry.second.size();
  if (wordCount) *wordCount = count;
  if (count < minimum) {
    error = "the word lists in " + scowlDir + " give only " + std::to_string(count) +
            " words; at least " + std::to_string(minimum) + " are needed";
    return false;
  }

  const fs::path target = fs::path(outDir) / folder;
  const fs::path fresh = fs::path(outDir) / (folder + ".tmp");
  fs::remove_all(fresh, ec);
  if (!WriteWordFiles(files, fresh, error)) {
    fs::remove_all(fresh, ec);
    return false;
  }
  if (!SwapInFolder(fresh, target, error)) {
    fs::remove_all(fresh, ec);
    return false;
  }
  return true;
}

}  // namespace

bool BuildEverydayDictionary(const std::string& scowlDir, const std::string& outDir,
                             std::string& error, size_t* wordCount) {
  return BuildWordFolder(scowlDir, outDir, "dico-everyday", EverydayListNames(),
                         kMinimumEverydayCount, error, wordCount);
}

bool BuildDictionary(const std::string& scowlDir, const std::string& outDir, std::string& error,
                     size_t* wordCount) {
  if (!BuildWordFolder(scowlDir, outDir, "dico-english", ScowlListNames(), kMinimumWordCount, error,
                       wordCount))
    return false;
  std::error_code ec;
  const fs::path credits = fs::path(outDir) / "CREDITS.txt";
  const fs::path creditsTmp = fs::path(outDir) / "CREDITS.txt.tmp";
  if (!WriteTextFile(creditsTmp.string(), CreditsText(), error)) {
    fs::remove(creditsTmp, ec);
    return false;
  }
  fs::rename(creditsTmp, credits, ec);
  if (ec) {
    error = "cannot rename " + creditsTmp.string() + ": " + ec.message();
    return false;
  }
  return true;
}

}  // namespace qm::dict
