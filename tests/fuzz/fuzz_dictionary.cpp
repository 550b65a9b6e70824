// Dictionary files: the input is a word, a line feed, then the bytes of the word's file.
// Its lines are read with ReadTextLine until FileAtEnd and must match an independent split
// (CR, LF, CR LF and NUL end a line); then LookUpWord must find the word exactly when one
// of those lines, behind the first letter, spells it.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/Files.hpp"
#include "engine/Text.hpp"
#include "game/rules/Dictionary.hpp"
#include "tests/fuzz/FuzzSupport.hpp"

namespace {

std::vector<std::string> SplitLines(const std::string& bytes) {
  std::vector<std::string> lines;
  size_t at = 0;
  while (at < bytes.size()) {
    std::string line;
    while (at < bytes.size() && bytes[at] != '\n' && bytes[at] != '\r' && bytes[at] != '\0') {
      line += bytes[at++];
    }
    if (at < bytes.size()) {
      bool cr = bytes[at] == '\r';
      ++at;
      if (cr && at < bytes.size() && bytes[at] == '\n') ++at;
    }
    lines.push_back(line);
  }
  return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace qm;
  std::string input(reinterpret_cast<const char*>(data), size);
  size_t cut = input.find('\n');
  if (cut == std::string::npos || cut > 40) return 0;
  std::string word = input.substr(0, cut);
  std::string file = input.substr(cut + 1);

  std::string normal =
      ReplaceText(TrimRightText(TrimLeftText(LowerCaseText(word))), CharText(13), "");
  if (normal.empty()) return 0;
  char first = normal[0];
  if (first == '/' || first == '\\' || first == '.' || first == '\0') return 0;
  const std::string folder = fuzz::TempFolder() + "/dico";
  MapGameFolder("dico-english", folder);
  std::string name = "dico/dico-" + std::string(1, first) + DecimalText(TextLength(normal));
  std::string path =
      fuzz::WriteTempFile(name, reinterpret_cast<const uint8_t*>(file.data()), file.size());

  // The lines as the game reads them.
  std::vector<std::string> expected = SplitLines(file);
  if (OpenFileForReading(1, path) == 0) std::abort();
  std::vector<std::string> read;
  while (FileAtEnd(1) == 0) {
    read.push_back(ReadTextLine(1));
    if (read.size() > file.size()) std::abort();  // every line takes at least one byte
  }
  if (!ReadTextLine(1).empty()) std::abort();  // past the end: the empty string
  CloseFileSlot(1);
  if (read != expected) std::abort();

  bool listed = false;
  for (const std::string& line : expected)
    listed = listed || (std::string(1, first) + line) == normal;
  std::string lookedUp = word;
  LookUp result = LookUpWord(lookedUp);
  if (lookedUp != normal && word.size() >= 2) std::abort();
  if (word.size() < 2) {
    if (result != LookUp::kTooShort) std::abort();
  } else if ((result == LookUp::kFound) != listed) {
    std::abort();
  }
  return 0;
}
