// qm-dict: the game's word files.
//   qm-dict OUTDIR [SCOWLDIR]             OUTDIR/dico-english and OUTDIR/CREDITS.txt
//   qm-dict everyday OUTDIR [SCOWLDIR]    OUTDIR/dico-everyday, the common words only
//   qm-dict definitions OUTDIR [WNDIR]    OUTDIR/definitions/english from WordNet
//   qm-dict define [--data DIR] WORD...   the definition the game shows for each word
#include <cstdio>
#include <cstring>
#include <string>

#include "DictBuilder.hpp"
#include "WordNet.hpp"
#include "engine/Files.hpp"
#include "engine/Text.hpp"
#include "game/rules/Definitions.hpp"

namespace {

const char* const kUsage =
    "usage: qm-dict OUTDIR [SCOWLDIR]\n"
    "       qm-dict everyday OUTDIR [SCOWLDIR]\n"
    "       qm-dict definitions OUTDIR [WORDNETDIR]\n"
    "       qm-dict define [--data DIR] WORD...\n"
    "\n"
    "  OUTDIR [SCOWLDIR]  writes OUTDIR/dico-english/ and OUTDIR/CREDITS.txt from the SCOWL\n"
    "                     word lists (default /usr/share/dict/scowl)\n"
    "  everyday           writes OUTDIR/dico-everyday/: the words of SCOWL's sizes 10 and 20\n"
    "                     only, the vocabulary the level generator's proof plays with\n"
    "  definitions        writes OUTDIR/definitions/english: a short definition of every word\n"
    "                     of OUTDIR/dico-english that WordNet knows, directly or as an\n"
    "                     inflection (default WORDNETDIR /usr/share/wordnet, Debian's\n"
    "                     wordnet-base)\n"
    "  define             prints one line per WORD, \"word<TAB>definition\", the definition\n"
    "                     empty when there is none, as the game looks it up in the game\n"
    "                     folder DIR (default build/data)\n";

int BuildWords(int argc, char** argv) {
  const std::string scowlDir = argc == 3 ? argv[2] : "/usr/share/dict/scowl";
  std::string error;
  size_t count = 0;
  if (!qm::dict::BuildDictionary(scowlDir, argv[1], error, &count)) {
    std::fprintf(stderr, "qm-dict: %s\n", error.c_str());
    return 1;
  }
  std::printf("qm-dict: %zu words written to %s/dico-english\n", count, argv[1]);
  return 0;
}

int BuildEveryday(int argc, char** argv) {
  if (argc < 3 || argc > 4) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  const std::string scowlDir = argc == 4 ? argv[3] : "/usr/share/dict/scowl";
  std::string error;
  size_t count = 0;
  if (!qm::dict::BuildEverydayDictionary(scowlDir, argv[2], error, &count)) {
    std::fprintf(stderr, "qm-dict: %s\n", error.c_str());
    return 1;
  }
  std::printf("qm-dict: %zu words written to %s/dico-everyday\n", count, argv[2]);
  return 0;
}

int BuildDefinitions(int argc, char** argv) {
  if (argc < 3 || argc > 4) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  const std::string wordnetDir = argc == 4 ? argv[3] : "/usr/share/wordnet";
  std::string error;
  size_t defined = 0, words = 0;
  if (!qm::dict::BuildDefinitions(wordnetDir, argv[2], error, &defined, &words)) {
    std::fprintf(stderr, "qm-dict: %s\n", error.c_str());
    return 1;
  }
  std::printf("qm-dict: %zu of %zu words defined in %s/definitions/english\n", defined, words,
              argv[2]);
  return 0;
}

int Define(int argc, char** argv) {
  std::string data = "build/data";
  int first = 2;
  if (first < argc && std::strcmp(argv[first], "--data") == 0) {
    if (first + 1 >= argc) {
      std::fputs(kUsage, stderr);
      return 2;
    }
    data = argv[first + 1];
    first += 2;
  }
  qm::MapGameFolder("definitions", data + "/definitions");
  for (int k = first; k < argc; ++k) {
    const std::string word = argv[k];
    // The game looks up words as the dictionary normalises them.
    const std::string normal = qm::ReplaceText(
        qm::TrimRightText(qm::TrimLeftText(qm::LowerCaseText(word))), qm::CharText(13), "");
    std::printf("%s\t%s\n", word.c_str(), qm::LookUpDefinition(normal).c_str());
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (argc >= 2 && std::strcmp(argv[1], "define") == 0) return Define(argc, argv);
  if (argc >= 2 && std::strcmp(argv[1], "definitions") == 0) return BuildDefinitions(argc, argv);
  if (argc >= 2 && std::strcmp(argv[1], "everyday") == 0) return BuildEveryday(argc, argv);
  if (argc < 2 || argc > 3) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  return BuildWords(argc, argv);
}
