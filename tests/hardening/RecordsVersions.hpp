#pragma once
// The two records contents the records saver switches between (they differ in length).
#include "game/rules/Records.hpp"

namespace qm::hard {

inline PlayerRecords RecordsVersion(int version) {
  PlayerRecords r;
  r.playerName = "Saver";
  r.levelsWon = version == 0 ? 3 : 40;
  r.bestWord = version == 0 ? "OX" : "QUIXOTIC";
  r.streak = StreakState{version, 7, version == 0 ? 0 : 20261211};
  int32_t day = 20200101;
  for (int k = 0; k < (version == 0 ? 10 : 2000); ++k) {
    r.dailies.push_back(DailyResult{day, k % 3 != 0, k, 5, 0});
    do {
      ++day;
      if (day % 100 > 31) day = day - day % 100 + 101;
      if (day / 100 % 100 > 12) day = (day / 10000 + 1) * 10000 + 101;
    } while (!IsValidDate(day));
  }
  return r;
}

}  // namespace qm::hard
