#pragma once
// Which level is being played: one of the hand-made levels, or a generated one named by the
// generator's version, grade and seed. Everything after the level start (Board, deals,
// objectives) is the same code for both.
#include <cstdint>

namespace qm {

enum class LevelKind : uint8_t {
  kHandMade = 0,  // maps/N, N = 1..44
  kDaily = 1,     // the generated level of one UTC day
  kEndless = 2,   // the N-th generated level of a player's endless road
};

struct LevelIdentity {
  LevelKind kind = LevelKind::kHandMade;
  int32_t number = 1;             // hand-made: the level number
  uint32_t generatorVersion = 0;  // generated: the three values that make the level
  int32_t grade = 0;
  uint64_t seed = 0;
  int32_t day = 0;      // daily: the UTC date as YYYYMMDD
  int32_t endless = 0;  // endless: N
};

inline bool operator==(const LevelIdentity& a, const LevelIdentity& b) {
  return a.kind == b.kind && a.number == b.number && a.generatorVersion == b.generatorVersion &&
         a.grade == b.grade && a.seed == b.seed && a.day == b.day && a.endless == b.endless;
}

}  // namespace qm
