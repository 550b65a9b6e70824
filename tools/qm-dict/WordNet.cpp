#include "WordNet.hpp"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

#include "DictBuilder.hpp"

namespace fs = std::filesystem;

namespace qm::dict {
namespace {

constexpr std::array<const char*, 4> kPosNames = {"noun", "verb", "adj", "adv"};

// WordNet's rules of detachment: an ending and what replaces it, tried in this order.
struct Detachment {
  const char* ending;
  const char* replacement;
};
const std::vector<Detachment> kNounRules = {{"s", ""},      {"ses", "s"},   {"xes", "x"},
                                            {"zes", "z"},   {"ches", "ch"}, {"shes", "sh"},
                                            {"men", "man"}, {"ies", "y"}};
const std::vector<Detachment> kVerbRules = {{"s", ""},   {"ies", "y"}, {"es", "e"},  {"es", ""},
                                            {"ed", "e"}, {"ed", ""},   {"ing", "e"}, {"ing", ""}};
const std::vector<Detachment> kAdjectiveRules = {
    {"er", ""}, {"est", ""}, {"er", "e"}, {"est", "e"}};

const std::vector<Detachment>& RulesOf(int pos) {
  static const std::vector<Detachment> none;
  switch (pos) {
    case kNoun:
      return kNounRules;
    case kVerb:
      return kVerbRules;
    case kAdjective:
      return kAdjectiveRules;
    default:
      return none;
  }
}

bool EndsWith(const std::string& s, const std::string& end) {
  return s.size() >= end.size() && s.compare(s.size() - end.size(), end.size(), end) == 0;
}

bool ReadWholeFile(const fs::path& path, std::string& text, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = "cannot read " + path.string() + " (install the Debian package wordnet-base)";
    return false;
  }
  std::ostringstream buffer;
  buffer << in.rdbuf();
  if (in.bad()) {
    error = "error while reading " + path.string();
    return false;
  }
  text = buffer.str();
  return true;
}

// Calls visit(line) for each line of text, without its line end.
template <typename Visit>
void ForEachLine(const std::string& text, Visit visit) {
  size_t at = 0;
  while (at < text.size()) {
    size_t end = text.find('\n', at);
    if (end == std::string::npos) end = text.size();
    visit(std::string_view(text).substr(at, end - at));
    at = end + 1;
  }
}

std::vector<std::string_view> Fields(std::string_view line) {
  std::vector<std::string_view> fields;
  size_t at = 0;
  while (at < line.size()) {
    size_t end = line.find(' ', at);
    if (end == std::string_view::npos) end = line.size();
    if (end > at) fields.push_back(line.substr(at, end - at));
    at = end + 1;
  }
  return fields;
}

long ToNumber(std::string_view text) {
  long value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return -1;
    value = value * 10 + (c - '0');
  }
  return text.empty() ? -1 : value;
}

// The words of the game's dictionary folder: each file "dico-" + letter + length holds the
// words without their first letter.
bool ReadDictionaryWords(const fs::path& folder, std::vector<std::string>& words,
                         std::string& error) {
  std::error_code ec;
  if (!fs::is_directory(folder, ec)) {
    error = "no dictionary folder " + folder.string() + " (build the dictionary first)";
    return false;
  }
  for (const fs::directory_entry& entry : fs::directory_iterator(folder, ec)) {
    const std::string name = entry.path().filename().string();
    if (name.size() < 7 || name.compare(0, 5, "dico-") != 0) continue;
    std::string text;
    if (!ReadWholeFile(entry.path(), text, error)) return false;
    const char first = name[5];
    ForEachLine(text, [&](std::string_view line) {
      if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
      if (!line.empty()) words.push_back(first + std::string(line));
    });
  }
  if (ec) {
    error = "cannot list " + folder.string() + ": " + ec.message();
    return false;
  }
  std::sort(words.begin(), words.end());
  words.erase(std::unique(words.begin(), words.end()), words.end());
  return true;
}

}  // namespace

bool WordNet::Load(const std::string& folder, std::string& error) {
  const fs::path dir(folder);
  for (int pos = kNoun; pos <= kAdverb; ++pos) {
    std::string index, exceptions;
    if (!ReadWholeFile(dir / (std::string("index.") + kPosNames[pos]), index, error)) return false;
    if (!ReadWholeFile(dir / (std::string("data.") + kPosNames[pos]), data_[pos], error))
      return false;
    if (!ReadWholeFile(dir / (std::string(kPosNames[pos]) + ".exc"), exceptions, error))
      return false;
    // lemma pos synset_cnt p_cnt [ptr_symbol...] sense_cnt tagsense_cnt synset_offset...
    ForEachLine(index, [&](std::string_view line) {
      if (line.empty() || line[0] == ' ') return;  // the licence lines
      std::vector<std::string_view> f = Fields(line);
      if (f.size() < 6) return;
      const long pointers = ToNumber(f[3]);
      const size_t firstOffset = 4 + static_cast<size_t>(pointers) + 2;
      if (pointers < 0 || firstOffset >= f.size()) return;
      Lemma& lemma = index_[pos][std::string(f[0])];
      for (size_t k = firstOffset; k < f.size(); ++k) lemma.offsets.push_back(ToNumber(f[k]));
      lemma.tags.assign(lemma.offsets.size(), 0);
    });
    ForEachLine(exceptions, [&](std::string_view line) {
      std::vector<std::string_view> f = Fields(line);
      if (f.size() < 2) return;
      auto& bases = exceptions_[pos][std::string(f[0])];
      for (size_t k = 1; k < f.size(); ++k) bases.emplace_back(f[k]);
    });
  }
  std::string counts;
  if (!ReadWholeFile(dir / "cntlist.rev", counts, error)) return false;
  // sense_key sense_number tag_cnt; the key is lemma%ss_type:..., ss_type 1 noun, 2 verb,
  // 3 adjective, 4 adverb, 5 adjective satellite.
  ForEachLine(counts, [&](std::string_view line) {
    std::vector<std::string_view> f = Fields(line);
    const long sense = f.size() == 3 ? ToNumber(f[1]) : -1;
    if (sense < 1) return;
    const size_t percent = f[0].find('%');
    if (percent == std::string_view::npos || percent + 1 >= f[0].size()) return;
    static constexpr int kPosOfType[] = {-1, kNoun, kVerb, kAdjective, kAdverb, kAdjective};
    const int type = f[0][percent + 1] - '0';
    if (type < 1 || type > 5) return;
    auto found = index_[kPosOfType[type]].find(std::string(f[0].substr(0, percent)));
    if (found != index_[kPosOfType[type]].end() &&
        static_cast<size_t>(sense) <= found->second.tags.size()) {
      int& tags = found->second.tags[static_cast<size_t>(sense) - 1];
      tags = std::max(tags, static_cast<int>(ToNumber(f[2])));
    }
  });
  licence_.clear();
  ForEachLine(data_[kNoun], [&](std::string_view line) {
    if (!line.empty() && line[0] == ' ') licence_.emplace_back(line);
  });
  if (licence_.empty() || index_[kNoun].size() < 1000) {
    error = "the WordNet files in " + folder + " look damaged";
    return false;
  }
  return true;
}

std::vector<std::string> WordNet::BaseForms(const std::string& word, int pos) const {
  std::vector<std::string> bases;
  auto offer = [&](const std::string& base) {
    if (index_[pos].count(base) != 0 &&
        std::find(bases.begin(), bases.end(), base) == bases.end()) {
      bases.push_back(base);
    }
  };
  auto irregular = exceptions_[pos].find(word);
  if (irregular != exceptions_[pos].end()) {
    for (const std::string& base : irregular->second) offer(base);
  }
  offer(word);
  if (pos == kNoun && EndsWith(word, "ful") && word.size() > 3) {
    // "cupsful": the noun before "ful" carries the plural.
    const std::string stem = word.substr(0, word.size() - 3);
    for (const Detachment& rule : kNounRules) {
      if (EndsWith(stem, rule.ending)) {
        offer(stem.substr(0, stem.size() - std::string(rule.ending).size()) + rule.replacement +
              "ful");
      }
    }
    return bases;
  }
  // Nouns ending in "ss" (glass, boss) and two-letter nouns are not plurals.
  if (pos == kNoun && (EndsWith(word, "ss") || word.size() <= 2)) return bases;
  for (const Detachment& rule : RulesOf(pos)) {
    const std::string ending = rule.ending;
    if (word.size() > ending.size() && EndsWith(word, ending)) {
      offer(word.substr(0, word.size() - ending.size()) + rule.replacement);
    }
  }
  return bases;
}

std::string_view WordNet::SynsetLine(int pos, long offset) const {
  const std::string& data = data_[pos];
  if (offset < 0 || static_cast<size_t>(offset) >= data.size()) return {};
  size_t end = data.find('\n', static_cast<size_t>(offset));
  if (end == std::string::npos) end = data.size();
  return std::string_view(data).substr(static_cast<size_t>(offset),
                                       end - static_cast<size_t>(offset));
}

int WordNet::FirstLowerCaseSense(int pos, const std::string& lemma) const {
  const Lemma& entry = index_[pos].at(lemma);
  for (size_t sense = 0; sense < entry.offsets.size(); ++sense) {
    // synset_offset lex_filenum ss_type w_cnt word lex_id [word lex_id...] ...
    const std::vector<std::string_view> f = Fields(SynsetLine(pos, entry.offsets[sense]));
    if (f.size() < 4) continue;
    const long count = std::strtol(std::string(f[3]).c_str(), nullptr, 16);
    for (long k = 0; k < count && 4 + 2 * static_cast<size_t>(k) < f.size(); ++k) {
      std::string_view word = f[4 + 2 * static_cast<size_t>(k)];
      const size_t marker = word.find('(');  // adjectives may carry (a), (p) or (ip)
      if (marker != std::string_view::npos) word = word.substr(0, marker);
      if (word == lemma) return static_cast<int>(sense);
    }
  }
  return -1;
}

bool WordNet::Define(const std::string& word, Meaning& meaning) const {
  bool found = false;
  int bestTags = -1;
  bool bestIsWord = false;
  for (int pos = kNoun; pos <= kAdverb; ++pos) {
    for (const std::string& base : BaseForms(word, pos)) {
      const int sense = FirstLowerCaseSense(pos, base);
      if (sense < 0) continue;
      const Lemma& lemma = index_[pos].at(base);
      const std::string_view line = SynsetLine(pos, lemma.offsets[static_cast<size_t>(sense)]);
      const size_t bar = line.find(" | ");
      std::string gloss =
          bar == std::string_view::npos ? "" : ShortGloss(std::string(line.substr(bar + 3)));
      if (gloss.empty()) continue;
      // The most often tagged sense wins; on a tie the word's own lemma, then the earlier
      // part of speech (nouns, verbs, adjectives, adverbs).
      const int tags = lemma.tags[static_cast<size_t>(sense)];
      const bool isWord = base == word;
      if (tags > bestTags || (tags == bestTags && isWord && !bestIsWord)) {
        bestTags = tags;
        bestIsWord = isWord;
        meaning = Meaning{base, pos, std::move(gloss)};
        found = true;
      }
    }
  }
  return found;
}

std::string ShortGloss(const std::string& gloss) {
  std::string text;
  for (char c : gloss) {
    if (c == ';' || c == '\n' || c == '\r') break;
    // The files are ASCII; anything else (a tab, a control byte) would break the line.
    text.push_back(c >= 32 && c < 127 ? c : ' ');
  }
  if (text.size() > kMaxGlossLength) text.resize(kMaxGlossLength);
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return "";
  const size_t last = text.find_last_not_of(' ');
  return text.substr(first, last - first + 1);
}

std::string DefinitionText(const std::string& word, const Meaning& meaning) {
  if (meaning.base == word) return meaning.gloss;
  std::string base = meaning.base;
  std::replace(base.begin(), base.end(), '_', ' ');
  return "(" + base + ") " + meaning.gloss;
}

bool BuildDefinitions(const std::string& wordnetDir, const std::string& outDir, std::string& error,
                      size_t* definedCount, size_t* wordCount) {
  std::error_code ec;
  if (!fs::is_directory(outDir, ec)) {
    error = "the output folder " + outDir + " does not exist";
    return false;
  }
  WordNet wordnet;
  if (!wordnet.Load(wordnetDir, error)) return false;
  std::vector<std::string> words;
  if (!ReadDictionaryWords(fs::path(outDir) / "dico-english", words, error)) return false;

  std::string text;
  for (const std::string& line : wordnet.LicenceLines()) text += line + "\n";
  size_t defined = 0;
  for (const std::string& word : words) {  // sorted: the file stays in byte order
    Meaning meaning;
    if (!wordnet.Define(word, meaning)) continue;
    text += word + "\t" + DefinitionText(word, meaning) + "\n";
    ++defined;
  }
  if (definedCount) *definedCount = defined;
  if (wordCount) *wordCount = words.size();

  // Written beside its place and renamed over it only when complete.
  const fs::path folder = fs::path(outDir) / "definitions";
  fs::create_directories(folder, ec);
  if (ec) {
    error = "cannot create " + folder.string() + ": " + ec.message();
    return false;
  }
  const fs::path target = folder / "english";
  const fs::path fresh = folder / "english.tmp";
  if (!WriteTextFile(fresh.string(), text, error)) {
    fs::remove(fresh, ec);
    return false;
  }
  fs::rename(fresh, target, ec);
  if (ec) {
    error = "cannot rename " + fresh.string() + ": " + ec.message();
    fs::remove(fresh, ec);
    return false;
  }
  return true;
}

}  // namespace qm::dict
