// The definitions file: the input is a word, a line feed, then the bytes of the file. The
// lookup must answer without a crash or a hang, only with printable bytes, and, when the file
// is well formed (words in strictly rising byte order, lines of sane length), exactly the
// text after the tab of the word's line.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/Files.hpp"
#include "game/rules/Definitions.hpp"
#include "tests/fuzz/FuzzSupport.hpp"

namespace {

constexpr size_t kSaneLine = 4000;

struct Line {
  std::string key, definition;
};

// The file's lines split at LF, or nothing when it is not well formed.
bool ParseWellFormed(const std::string& bytes, std::vector<Line>& lines) {
  size_t at = 0;
  while (at < bytes.size()) {
    size_t end = bytes.find('\n', at);
    if (end == std::string::npos) end = bytes.size();
    const std::string line = bytes.substr(at, end - at);
    if (line.size() >= kSaneLine) return false;
    const size_t tab = line.find('\t');
    Line parsed{line.substr(0, tab), tab == std::string::npos ? "" : line.substr(tab + 1)};
    if (!lines.empty() && !(lines.back().key < parsed.key)) return false;
    lines.push_back(parsed);
    at = end + 1;
  }
  return true;
}

std::string Printable(const std::string& text) {
  std::string clean;
  for (char c : text) {
    if (static_cast<unsigned char>(c) >= 32) clean.push_back(c);
  }
  return clean;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace qm;
  const std::string input(reinterpret_cast<const char*>(data), size);
  const size_t cut = input.find('\n');
  if (cut == std::string::npos || cut > 40) return 0;
  const std::string word = input.substr(0, cut);
  const std::string file = input.substr(cut + 1);
  MapGameFolder("definitions", fuzz::TempFolder() + "/definitions");
  fuzz::WriteTempFile("definitions/english", reinterpret_cast<const uint8_t*>(file.data()),
                      file.size());

  const std::string definition = LookUpDefinition(word);
  for (char c : definition) {
    if (static_cast<unsigned char>(c) < 32) std::abort();
  }
  if (definition.size() > file.size()) std::abort();

  std::vector<Line> lines;
  if (!ParseWellFormed(file, lines)) return 0;
  std::string expected;
  if (!word.empty() && word.find('\t') == std::string::npos) {
    for (const Line& line : lines) {
      if (line.key == word) expected = Printable(line.definition);
    }
  }
  if (definition != expected) std::abort();
  return 0;
}
