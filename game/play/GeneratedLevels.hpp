#pragma once
// The levels the game makes itself: one daily level per UTC day, the same for everyone, and
// an endless road of levels per Master. Their level files come from the level generator
// through one seam (SetLevelMaker) and are made on a worker thread while the list is shown.
#include <cstdint>
#include <functional>
#include <string>

#include "game/LevelIdentity.hpp"

namespace qm {

constexpr int32_t kDailyGrade = 3;

// Makes the level file bytes (the layout of maps/N) of a generated identity; false when it
// cannot. Must depend on the identity alone: it runs on a worker thread.
using LevelMaker = std::function<bool(const LevelIdentity& identity, std::string& mapBytes)>;
// The generator registers itself (and its version, which goes into every identity).
void SetLevelMaker(LevelMaker maker, uint32_t generatorVersion);
bool LevelMakerAvailable();
// Registers the game's level generator as the maker, when this build has it; its words are
// read from gameFolder on the worker thread the first time a level is asked for.
void InstallLevelGenerator(const std::string& gameFolder);

LevelIdentity DailyIdentity(int32_t yyyymmdd);
// The grade rises with n; the seed comes from the player and n.
LevelIdentity EndlessIdentity(const std::string& playerName, int32_t n);
int32_t EndlessGrade(int32_t n);
// The seed of the level's own dealing stream.
uint32_t DealSeed(const LevelIdentity& identity);
// The level number a generated level plays as where the rules ask for one (scoring factor,
// music), from its grade.
int32_t PlaysAsLevel(const LevelIdentity& identity);

enum class Preparation { kNotAsked, kPreparing, kReady, kFailed };
// Asks for the identity's level file; made once, on the worker thread, then kept.
void RequestLevel(const LevelIdentity& identity);
Preparation LevelPreparation(const LevelIdentity& identity);
// The bytes of a ready level (false when not ready).
bool PreparedLevel(const LevelIdentity& identity, std::string& mapBytes);
// Waits until every level asked for is made (or failed); what is made is kept.
void WaitForPreparedLevels();
// Waits for the worker and forgets every level (tests, and a new maker).
void ForgetPreparedLevels();

}  // namespace qm
