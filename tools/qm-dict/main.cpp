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

// A folder of OUTDIR built from a source folder. The builders count what they made and,
// for the definitions, out of how many words.
using BuildFn = bool (*)(const std::string& source, const std::string& out, std::string& error,
                         size_t* made, size_t* of);
struct Builder {
  const char* defaultSource;
  const char* folder;
  const char* verb;
  bool outOf;  // says "N of M words"
  BuildFn build;
};

constexpr const char* kScowlDir = "/usr/share/dict/scowl";

const Builder kWords = {
    kScowlDir, "dico-english", "written to", false,
    [](const std::string& source, const std::string& out, std::string& error, size_t* made,
       size_t*) { return qm::dict::BuildDictionary(source, out, error, made); }};
const Builder kEveryday = {
    kScowlDir, "dico-everyday", "written to", false,
    [](const std::string& source, const std::string& out, std::string& error, size_t* made,
       size_t*) { return qm::dict::BuildEverydayDictionary(source, out, error, made); }};
const Builder kDefinitions = {"/usr/share/wordnet", "definitions/english", "defined in", true,
                              qm::dict::BuildDefinitions};

// Runs a builder on OUTDIR [SOURCEDIR], the words from argv[first] on.
int Build(const Builder& builder, int argc, char** argv, int first) {
  if (argc < first + 1 || argc > first + 2) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  const std::string out = argv[first];
  const std::string source = argc == first + 2 ? argv[first + 1] : builder.defaultSource;
  std::string error;
  size_t made = 0, of = 0;
  if (!builder.build(source, out, error, &made, &of)) {
    std::fprintf(stderr, "qm-dict: %s\n", error.c_str());
    return 1;
  }
  std::printf("qm-dict: %zu", made);
  if (builder.outOf) std::printf(" of %zu", of);
  std::printf(" words %s %s/%s\n", builder.verb, out.c_str(), builder.folder);
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
  if (argc >= 2 && std::strcmp(argv[1], "definitions") == 0)
    return Build(kDefinitions, argc, argv, 2);
  if (argc >= 2 && std::strcmp(argv[1], "everyday") == 0) return Build(kEveryday, argc, argv, 2);
  return Build(kWords, argc, argv, 1);
}
