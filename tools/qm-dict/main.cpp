// qm-dict OUTDIR [SCOWLDIR]: writes OUTDIR/dico-english and OUTDIR/CREDITS.txt.
#include <cstdio>
#include <string>

#include "DictBuilder.hpp"

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: qm-dict OUTDIR [SCOWLDIR]\n"
                         "  writes OUTDIR/dico-english/ and OUTDIR/CREDITS.txt from the SCOWL\n"
                         "  word lists (default /usr/share/dict/scowl)\n");
    return 2;
  }
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
