// The one place the game meets the level generator.
#include <memory>
#include <mutex>

#include "game/gen/Generator.hpp"
#include "game/play/GeneratedLevels.hpp"

namespace qm {

#if QM_HAVE_GENERATOR
namespace {

struct Words {
  std::once_flag once;
  bool loaded = false;
  gen::GeneratorWords words;
};

}  // namespace

void InstallLevelGenerator(const std::string& gameFolder) {
  if (LevelMakerAvailable()) return;  // one set already (a test's own)
  auto words = std::make_shared<Words>();
  SetLevelMaker(
      [words, gameFolder](const LevelIdentity& identity, std::string& mapBytes) {
        std::call_once(words->once, [&] {
          words->loaded = gen::LoadGeneratorWords(gameFolder, words->words, nullptr);
        });
        if (!words->loaded || identity.generatorVersion != gen::kGeneratorVersion) return false;
        gen::GeneratedLevel level = gen::GenerateLevel(identity.grade, identity.seed, words->words);
        if (!level.ok) return false;
        mapBytes = std::move(level.mapBytes);
        return true;
      },
      gen::kGeneratorVersion);
}
#else
// A build without the generator's code: the daily and endless rows say there is none.
void InstallLevelGenerator(const std::string&) {}
#endif

}  // namespace qm
