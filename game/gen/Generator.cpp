#include "game/gen/Generator.hpp"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <thread>
#include <vector>

#include "game/bot/Autoplay.hpp"
#include "game/gen/Titles.hpp"
#include "game/level/LevelBinary.hpp"
#include "game/level/LevelCheck.hpp"
#include "game/play/HexGrid.hpp"
#include "game/rules/Codes.hpp"

namespace qm::gen {
namespace {

using level::Level;

constexpr int kMasterReached = kLevelCount + 1;  // a player past the last hand-made level
constexpr int kProofMoves = 150;

// The project's own integer stream (SplitMix64): the same numbers everywhere.
class Stream {
 public:
  explicit Stream(uint64_t seed) : state_(seed) {}
  uint64_t Next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
  }
  int Below(int n) {
    return n <= 1 ? 0 : static_cast<int>((Next() >> 33) % static_cast<uint64_t>(n));
  }
  int Range(int lo, int hi) { return lo + Below(hi - lo + 1); }
  bool Chance(int percent) { return Below(100) < percent; }

 private:
  uint64_t state_;
};

uint64_t Mix(uint64_t a, uint64_t b) {
  Stream s(a ^ (b * 0xD6E8FEB86659FD93ULL));
  return s.Next();
}

// What a grade asks of a level, after the hand-made levels of its place in the curve.
struct GradeShape {
  int minWidth, maxWidth, minHeight, maxHeight;
  int minRooms, maxRooms;
  int minRadius, maxRadius;
  int multipliers, highestFactor;  // x2 .. x(highestFactor)
  int bags, scoreCells, stars, wheels, compartments, falseWalls, mechanisms;
  int lockPercent, fogPercent;
  int minWords, maxWords, minLength, maxLength;  // 0 words: only the box Fin
  int wordsPercent;                              // chance of a words objective at all
  int silverPercent, goldPercent;
  int botLevel;  // the hand-made level whose place the bot plays it at
};

constexpr std::array<GradeShape, 5> kGrades = {{
    // 1: levels 1-8, a straight room or two, a few walls and multipliers.
    {22, 28, 8, 10, 2, 3, 2, 3, 3, 2, 0, 1, 0, 0, 0, 0, 0, 0, 10, 2, 3, 3, 4, 40, 0, 0, 8},
    // 2: levels 9-17, keys, bags, points.
    {28, 34, 11, 14, 3, 3, 2, 3, 4, 3, 1, 2, 0, 0, 0, 0, 0, 40, 0, 3, 4, 3, 4, 100, 0, 0, 17},
    // 3: levels 18-26, stars and silver words, score cells.
    {34, 40, 14, 18, 3, 4, 2, 4, 5, 3, 2, 3, 3, 0, 0, 1, 0, 60, 35, 3, 5, 4, 4, 100, 40, 0, 26},
    // 4: levels 27-35, wheels, compartments, fog, false walls.
    {40, 46, 16, 22, 4, 5, 3, 4, 6, 4, 2, 3, 4, 2, 1, 2, 1, 70, 50, 4, 6, 4, 4, 100, 50, 15, 35},
    // 5: levels 36-44, all of it, fog often, several objectives.
    {46, 54, 20, 26, 5, 6, 3, 4, 7, 4, 3, 4, 5, 3, 1, 3, 2, 90, 70, 5, 7, 4, 5, 100, 70, 35, 44},
}};

struct Cube {
  int x, z;
};
Cube ToCube(CellPos p) {
  return {p.column - (p.row - (p.row & 1)) / 2, p.row};
}
int Distance(CellPos a, CellPos b) {
  Cube p = ToCube(a), q = ToCube(b);
  int dx = p.x - q.x, dz = p.z - q.z, dy = -dx - dz;
  return std::max({std::abs(dx), std::abs(dy), std::abs(dz)});
}

// The Board being laid out: which cells are floor, and what stands on them.
class Plan {
 public:
  Plan(int w, int h)
      : w_(w), h_(h), floor_((w + 1) * (h + 1), 0), codes_((w + 1) * (h + 1), kVoidCell) {}

  bool Inside(CellPos p) const {
    return p.column >= 1 && p.row >= 1 && p.column < w_ && p.row < h_;
  }
  bool OnBoard(CellPos p) const {
    return p.column >= 0 && p.row >= 0 && p.column <= w_ && p.row <= h_;
  }
  size_t Index(CellPos p) const { return static_cast<size_t>(p.row) * (w_ + 1) + p.column; }
  bool IsFloor(CellPos p) const { return OnBoard(p) && floor_[Index(p)] != 0; }
  void MakeFloor(CellPos p, uint8_t area) {
    if (Inside(p) && floor_[Index(p)] == 0) floor_[Index(p)] = area;
  }
  uint8_t Area(CellPos p) const { return OnBoard(p) ? floor_[Index(p)] : 0; }
  int16_t& Code(CellPos p) { return codes_[Index(p)]; }
  int16_t CodeAt(CellPos p) const { return OnBoard(p) ? codes_[Index(p)] : kVoidCell; }
  int w() const { return w_; }
  int h() const { return h_; }

  // A roundish room: every cell within radius of the centre, its rim a little ragged.
  void Room(CellPos centre, int radius, uint8_t area, Stream& rng) {
    for (int r = centre.row - radius; r <= centre.row + radius; ++r) {
      for (int c = centre.column - radius - 1; c <= centre.column + radius + 1; ++c) {
        int d = Distance(centre, {c, r});
        if (d > radius) continue;
        if (d == radius && rng.Chance(20)) continue;
        MakeFloor({c, r}, area);
      }
    }
  }

  // A corridor three cells wide along a way that always gets nearer, its turns drawn.
  std::vector<CellPos> Corridor(CellPos from, CellPos to, uint8_t area, Stream& rng) {
    std::vector<CellPos> way{from};
    CellPos at = from;
    while (!(at == to) && way.size() < 400) {
      std::array<CellPos, 6> around = Neighbours(at);
      int best = Distance(at, to);
      std::vector<CellPos> nearer;
      for (CellPos n : around)
        if (Inside(n) && Distance(n, to) < best) nearer.push_back(n);
      if (nearer.empty()) break;
      at = nearer[static_cast<size_t>(rng.Below(static_cast<int>(nearer.size())))];
      way.push_back(at);
    }
    for (CellPos p : way) {
      MakeFloor(p, area);
      for (CellPos n : Neighbours(p)) MakeFloor(n, area);
    }
    return way;
  }

  // Floor cells reachable from start, through floor not barred by the given codes.
  std::vector<uint8_t> Reach(CellPos start, int16_t barred) const {
    std::vector<uint8_t> seen(floor_.size(), 0);
    std::vector<CellPos> queue{start};
    seen[Index(start)] = 1;
    for (size_t k = 0; k < queue.size(); ++k) {
      for (CellPos n : Neighbours(queue[k])) {
        if (!IsFloor(n) || seen[Index(n)] || CodeAt(n) == barred) continue;
        seen[Index(n)] = 1;
        queue.push_back(n);
      }
    }
    return seen;
  }

  // Floor cells of an area still plain soil, in board order.
  std::vector<CellPos> FreeCells(uint8_t area) const {
    std::vector<CellPos> cells;
    for (int r = 0; r <= h_; ++r)
      for (int c = 0; c <= w_; ++c)
        if (Area({c, r}) == area && codes_[Index({c, r})] == kGridSoil) cells.push_back({c, r});
    return cells;
  }

 private:
  int w_, h_;
  std::vector<uint8_t> floor_;  // 0: not floor; else the area (1.. rooms, 100.. corridors)
  std::vector<int16_t> codes_;
};

constexpr uint8_t kCorridorArea = 100;
constexpr uint8_t kSideRoomArea = 200;

CellPos PickFree(Plan& plan, uint8_t area, Stream& rng, CellPos avoid, int minDistance) {
  std::vector<CellPos> cells = plan.FreeCells(area), far;
  for (CellPos p : cells)
    if (Distance(p, avoid) >= minDistance) far.push_back(p);
  if (far.empty()) return {-1, -1};
  return far[static_cast<size_t>(rng.Below(static_cast<int>(far.size())))];
}

// Puts count cells of the codes first..first+kinds-1 on free floor of the given areas.
void Scatter(Plan& plan, const std::vector<uint8_t>& areas, int count, int16_t first, int kinds,
             Stream& rng, CellPos avoidA, CellPos avoidB) {
  for (int k = 0; k < count; ++k) {
    uint8_t area = areas[static_cast<size_t>(rng.Below(static_cast<int>(areas.size())))];
    std::vector<CellPos> cells = plan.FreeCells(area), ok;
    for (CellPos p : cells)
      if (Distance(p, avoidA) >= 2 && Distance(p, avoidB) >= 2) ok.push_back(p);
    if (ok.empty()) continue;
    CellPos p = ok[static_cast<size_t>(rng.Below(static_cast<int>(ok.size())))];
    plan.Code(p) = static_cast<int16_t>(first + rng.Below(kinds));
  }
}

std::string MakeTitle(Stream& rng) {
  const char* adjective = kTitleAdjectives[static_cast<size_t>(rng.Below(kTitleAdjectives.size()))];
  const char* noun = kTitleNouns[static_cast<size_t>(rng.Below(kTitleNouns.size()))];
  const char* thing = kTitleThings[static_cast<size_t>(rng.Below(kTitleThings.size()))];
  switch (rng.Below(4)) {
    case 0:
      return std::string("The ") + adjective + " " + noun;
    case 1:
      return std::string(noun) + " of " + thing;
    case 2:
      return std::string(adjective) + " " + noun;
    default:
      return std::string("The ") + noun + " of " + adjective + " " + thing;
  }
}

// One candidate level of a grade, laid out from its own stream.
Level MakeCandidate(const GradeShape& g, Stream& rng) {
  const int w = rng.Range(g.minWidth, g.maxWidth), h = rng.Range(g.minHeight, g.maxHeight);
  Plan plan(w, h);

  // Rooms in a chain across the Board, from GO to Fin.
  const int rooms = rng.Range(g.minRooms, g.maxRooms);
  std::vector<CellPos> centres;
  std::vector<int> radii;
  for (int k = 0; k < rooms; ++k) {
    int radius = rng.Range(g.minRadius, g.maxRadius);
    radius = std::min(radius, (h - 2) / 2);
    int span = w - 2 * (radius + 2);
    int column = radius + 2 + (rooms == 1 ? 0 : span * k / (rooms - 1));
    column = std::clamp(column + rng.Range(-1, 1), radius + 2, w - radius - 2);
    int row = rng.Range(radius + 1, h - radius - 1);
    centres.push_back({column, row});
    radii.push_back(radius);
  }
  for (int k = 0; k < rooms; ++k) plan.Room(centres[k], radii[k], static_cast<uint8_t>(k + 1), rng);
  std::vector<std::vector<CellPos>> corridors;
  for (int k = 0; k + 1 < rooms; ++k)
    corridors.push_back(
        plan.Corridor(centres[k], centres[k + 1], static_cast<uint8_t>(kCorridorArea + k), rng));

  // A side room hanging off the way, for a key (or only for riches).
  const bool wantLock = rng.Chance(g.lockPercent) && rooms >= 3;
  CellPos side{-1, -1};
  if (g.lockPercent > 0 && rooms >= 3) {
    int from = rng.Range(0, rooms - 3);
    const CellPos base = centres[static_cast<size_t>(from)];
    int dir = base.row > h / 2 ? -1 : 1;
    int radius = 2;
    side = {std::clamp(base.column + rng.Range(0, 3), radius + 2, w - radius - 2),
            std::clamp(base.row + dir * rng.Range(5, 7), radius + 1, h - radius - 1)};
    if (Distance(side, base) >= 4) {
      plan.Room(side, radius, kSideRoomArea, rng);
      plan.Corridor(base, side, kSideRoomArea, rng);
    } else {
      side = {-1, -1};
    }
  }

  // Soil everywhere, a few cells of a second soil; walls around.
  const int16_t soil2 = static_cast<int16_t>(rng.Range(kFirstFixedSoil, kLastSoil));
  const int16_t wall1 = static_cast<int16_t>(rng.Range(kFirstWall, kLastWall));
  const int16_t wall2 = static_cast<int16_t>(rng.Range(kFirstWall, kLastWall));
  for (int r = 0; r <= h; ++r) {
    for (int c = 0; c <= w; ++c) {
      CellPos p{c, r};
      if (plan.IsFloor(p)) {
        plan.Code(p) = kGridSoil;
        continue;
      }
      bool edge = false;
      for (CellPos n : Neighbours(p)) edge = edge || plan.IsFloor(n);
      if (edge) plan.Code(p) = rng.Chance(70) ? wall1 : wall2;
    }
  }

  CellPos start = centres.front(), end = centres.back();
  plan.Code(start) = kStartBox;
  plan.Code(end) = kEndBox;

  // The lock: a door of locked wall across the last corridor, its key in the side room.
  bool locked = false;
  if (wantLock && side.column >= 0) {
    const int kind = rng.Below(kKeyKinds);
    const std::vector<CellPos>& way = corridors.back();
    CellPos middle = way[way.size() / 2];
    for (int reach = 1; reach <= 2 && !locked; ++reach) {
      std::vector<CellPos> door;
      for (int r = 0; r <= h; ++r)
        for (int c = 0; c <= w; ++c) {
          CellPos p{c, r};
          uint8_t area = plan.Area(p);
          if (area >= kCorridorArea && area < kSideRoomArea && plan.CodeAt(p) == kGridSoil &&
              Distance(p, middle) <= reach)
            door.push_back(p);
        }
      const int16_t lockCode = static_cast<int16_t>(kFirstLockedWall + kind);
      for (CellPos p : door) plan.Code(p) = lockCode;
      std::vector<uint8_t> reach1 = plan.Reach(start, lockCode);
      CellPos key = PickFree(plan, kSideRoomArea, rng, side, 0);
      if (!reach1[plan.Index(end)] && key.column >= 0 && reach1[plan.Index(key)]) {
        plan.Code(key) = static_cast<int16_t>(kGoldKey + kind);
        locked = true;
      } else {
        for (CellPos p : door) plan.Code(p) = kGridSoil;
      }
    }
  }

  std::vector<uint8_t> roomAreas;
  for (int k = 0; k < rooms; ++k) roomAreas.push_back(static_cast<uint8_t>(k + 1));
  std::vector<uint8_t> anyArea = roomAreas;
  for (int k = 0; k + 1 < rooms; ++k) anyArea.push_back(static_cast<uint8_t>(kCorridorArea + k));
  std::vector<uint8_t> offWay = {kSideRoomArea};
  if (side.column < 0) offWay = roomAreas;

  Scatter(plan, anyArea, g.multipliers / 2 + rng.Below(2), kFirstLetterMultiplier,
          g.highestFactor - 1, rng, start, end);
  Scatter(plan, anyArea, (g.multipliers + 1) / 2, kFirstWordMultiplier, g.highestFactor - 1, rng,
          start, end);
  Scatter(plan, roomAreas, g.bags, kFirstBag, 3, rng, start, end);
  Scatter(plan, anyArea, g.scoreCells, kHundredPoints, 1, rng, start, end);
  if (g.scoreCells > 2) {
    Scatter(plan, roomAreas, 1, kFirstSmallIncrease, 6, rng, start, end);
    Scatter(plan, offWay, 1, kFirstReduction, 3, rng, start, end);
  }
  Scatter(plan, anyArea, g.stars, kFirstStar, 3, rng, start, end);
  // Wheels where a player may go on trying, off the way when there is a side room.
  Scatter(plan, offWay, g.wheels, kBonusMalus, 1, rng, start, end);
  for (int k = 0; k < g.compartments; ++k) {
    uint8_t area = roomAreas[static_cast<size_t>(rng.Range(1, rooms - 1))];
    CellPos a = PickFree(plan, area, rng, start, 3);
    if (a.column < 0 || Distance(a, end) < 3) continue;
    int16_t code = static_cast<int16_t>(kFirstCompartment + rng.Below(3));
    plan.Code(a) = code;
    for (CellPos n : Neighbours(a)) {
      if (plan.Area(n) == area && plan.CodeAt(n) == kGridSoil && rng.Chance(30))
        plan.Code(n) = code;
    }
  }
  // Mechanisms on a room's rim, false walls in its wall: shortcuts, never the only way.
  for (int k = 0; k < g.mechanisms; ++k) {
    std::vector<CellPos> rim;
    for (int r = 0; r <= h; ++r)
      for (int c = 0; c <= w; ++c) {
        CellPos p{c, r};
        if (plan.Area(p) == 0 || plan.Area(p) >= kCorridorArea || plan.CodeAt(p) != kGridSoil)
          continue;
        bool byWall = false;
        for (CellPos n : Neighbours(p))
          byWall = byWall || (!plan.IsFloor(n) && plan.CodeAt(n) != kVoidCell);
        if (byWall && Distance(p, start) >= 3 && Distance(p, end) >= 2) rim.push_back(p);
      }
    if (!rim.empty())
      plan.Code(rim[static_cast<size_t>(rng.Below(static_cast<int>(rim.size())))]) =
          static_cast<int16_t>(kFirstMechanism + rng.Below(3));
  }
  for (int k = 0; k < g.falseWalls; ++k) {
    std::vector<CellPos> walls;
    for (int r = 0; r <= h; ++r)
      for (int c = 0; c <= w; ++c) {
        CellPos p{c, r};
        int16_t code = plan.CodeAt(p);
        if (plan.IsFloor(p) || !IsWall(code)) continue;
        int floors = 0;
        for (CellPos n : Neighbours(p)) floors += plan.IsFloor(n) ? 1 : 0;
        if (floors >= 3) walls.push_back(p);
      }
    if (!walls.empty())
      plan.Code(walls[static_cast<size_t>(rng.Below(static_cast<int>(walls.size())))]) =
          static_cast<int16_t>(kFirstFalseWall + rng.Below(3));
  }
  // A second soil, sprinkled.
  for (int r = 0; r <= h; ++r)
    for (int c = 0; c <= w; ++c)
      if (plan.CodeAt({c, r}) == kGridSoil && rng.Chance(12)) plan.Code({c, r}) = soil2;

  // The Board is cut to what was laid out; rows move by an even number so the hex grid keeps
  // its shape.
  int left = w, right = 0, top = h, bottom = 0;
  for (int r = 0; r <= h; ++r)
    for (int c = 0; c <= w; ++c)
      if (plan.CodeAt({c, r}) != kVoidCell) {
        left = std::min(left, c);
        right = std::max(right, c);
        top = std::min(top, r);
        bottom = std::max(bottom, r);
      }
  top -= top % 2;
  Level level;
  level.title = MakeTitle(rng);
  level.w = right - left;
  level.h = bottom - top;
  level.startColumn = start.column - left;
  level.startRow = start.row - top;
  level.cells.resize(static_cast<size_t>(level.w + 1) * (level.h + 1));
  for (int r = 0; r <= level.h; ++r)
    for (int c = 0; c <= level.w; ++c)
      level.cells[static_cast<size_t>(r) * (level.w + 1) + c] = plan.CodeAt({c + left, r + top});

  // Shading: bands, or fog; every tint shown stays within 0..255.
  const bool fog = rng.Chance(g.fogPercent);
  level.shadePeriod = fog ? -rng.Below(2) : rng.Range(3, 6);
  const int steps = fog ? 6 : 2 * level.shadePeriod;
  for (int k = 0; k < 3; ++k) {
    level.baseTint[k] = rng.Range(170, 250);
    level.shadeStep[k] = rng.Range(fog ? 8 : 2, fog ? 20 : 6);
    level.shadeStep[k] = std::min(level.shadeStep[k], level.baseTint[k] / steps);
  }

  // Objectives that fit what the Board offers.
  const bool words = g.maxWords > 0 && rng.Chance(g.wordsPercent);
  if (words) {
    level.objectives[0] = rng.Range(g.minWords, g.maxWords);
    level.objectives[1] = rng.Range(g.minLength, g.maxLength);
  }
  const bool stars = std::count_if(level.cells.begin(), level.cells.end(),
                                   [](int16_t c) { return IsStar(c); }) > 0;
  if (stars && rng.Chance(g.silverPercent)) {
    level.objectives[2] = rng.Range(1, g.stars >= 5 ? 2 : 1);
    level.objectives[3] = 3;
  }
  if (stars && rng.Chance(g.goldPercent)) {
    level.objectives[4] = 1;
    level.objectives[5] = 3;
  }
  (void)locked;
  return level;
}

// A failed candidate asks a little less: gold words go first, then silver, then a letter of
// the words, then a word. false when there is nothing left to ease.
bool Mend(Level& level) {
  auto& o = level.objectives;
  if (o[4] > 0) {
    o[4] = o[5] = 0;
  } else if (o[2] > 0) {
    o[2] = o[3] = 0;
  } else if (o[0] > 0 && o[1] > 3) {
    --o[1];
  } else if (o[0] > 1) {
    --o[0];
  } else {
    return false;
  }
  return true;
}

std::string LevelName(uint32_t version, int grade, uint64_t seed) {
  return "generated-" + std::to_string(version) + "-" + std::to_string(grade) + "-" +
         std::to_string(seed);
}

struct Deal {
  const Lexicon* lexicon;
  int levelReached;
  uint32_t seed;
};

// Plays the deals, split over threads by a fixed rule; each deal's verdict depends only on
// its own inputs, so the results are the same whatever the threads' timing.
std::vector<autoplay::SeedResult> PlayDeals(const std::string& bytes, int botLevel,
                                            const std::vector<Deal>& deals, int threads) {
  std::vector<autoplay::SeedResult> results(deals.size());
  auto run = [&](size_t first, size_t step) {
    for (size_t k = first; k < deals.size(); k += step) {
      autoplay::PlayOptions options;
      options.levelBytes = bytes;
      options.level = botLevel;
      options.maxMoves = kProofMoves;
      options.levelReached = deals[k].levelReached;
      results[k] = autoplay::PlaySeed(options, *deals[k].lexicon, deals[k].seed);
    }
  };
  const size_t n = static_cast<size_t>(std::clamp(threads, 1, 8));
  std::vector<std::thread> helpers;
  for (size_t t = 1; t < n; ++t) helpers.emplace_back(run, t, n);
  run(0, n);
  for (std::thread& t : helpers) t.join();
  return results;
}

int Wins(const std::vector<autoplay::SeedResult>& results, size_t first, size_t count) {
  int wins = 0;
  for (size_t k = first; k < first + count; ++k) wins += results[k].won ? 1 : 0;
  return wins;
}

Proof ProveAt(const std::string& bytes, const GeneratorWords& words, int threads, int botLevel) {
  Proof proof;
  std::vector<std::string> faults = level::CheckLevel(level::DecodeLevelBytes(bytes), true);
  if (!faults.empty()) {
    proof.fault = faults.front();
    return proof;
  }
  // The new player first: a level that fails there needs no more deals.
  std::vector<Deal> deals;
  for (uint32_t s = 1; s <= kProofDeals; ++s) deals.push_back({&words.full, 1, s});
  std::vector<autoplay::SeedResult> first = PlayDeals(bytes, botLevel, deals, threads);
  proof.newPlayerWins = Wins(first, 0, kProofDeals);
  std::vector<int> moves;
  for (const autoplay::SeedResult& r : first)
    if (r.won) moves.push_back(r.moves);
  std::sort(moves.begin(), moves.end());
  if (!moves.empty()) proof.medianMoves = moves[moves.size() / 2];
  if (proof.newPlayerWins < 4) return proof;
  deals.clear();
  for (uint32_t s = 1; s <= kProofDeals; ++s) deals.push_back({&words.full, kMasterReached, s});
  for (uint32_t s = 1; s <= kProofDeals; ++s) deals.push_back({&words.everyday, 1, s});
  std::vector<autoplay::SeedResult> rest = PlayDeals(bytes, botLevel, deals, threads);
  proof.masterWins = Wins(rest, 0, kProofDeals);
  proof.everydayWins = Wins(rest, kProofDeals, kProofDeals);
  return proof;
}

}  // namespace

bool Proof::Passed() const {
  return fault.empty() && newPlayerWins >= 4 && masterWins >= 4 && everydayWins >= 3;
}

bool LoadGeneratorWords(const std::string& gameFolder, GeneratorWords& words, std::string* error) {
  const std::string base = gameFolder.empty() ? "." : gameFolder;
  for (auto [lexicon, name] : {std::pair{&words.full, kFullWordsFolder},
                               std::pair{&words.everyday, kEverydayWordsFolder}}) {
    const std::string folder = base + "/" + name;
    if (!lexicon->Load(folder)) {
      if (error) *error = folder + ": no dictionary files";
      return false;
    }
  }
  return true;
}

Proof ProveLevel(const std::string& mapBytes, const GeneratorWords& words, int threads) {
  return ProveAt(mapBytes, words, threads, kGrades.back().botLevel);
}

GeneratedLevel GenerateLevel(int grade, uint64_t seed, const GeneratorWords& words,
                             const GenerateOptions& options) {
  GeneratedLevel out;
  out.grade = grade;
  out.seed = seed;
  if (grade < kFirstGrade || grade > kLastGrade) {
    out.error = "the grade must be 1 to 5";
    return out;
  }
  const GradeShape& shape = kGrades[static_cast<size_t>(grade - 1)];
  const std::array<int16_t, 5> keys = level::KeysForName(LevelName(kGeneratorVersion, grade, seed));
  constexpr int kMendsPerCandidate = 2;
  for (int candidate = 0; candidate < options.maxCandidates; ++candidate) {
    Stream rng(Mix(Mix(Mix(kGeneratorVersion, static_cast<uint64_t>(grade)), seed),
                   static_cast<uint64_t>(candidate)));
    Level level = MakeCandidate(shape, rng);
    ++out.candidates;
    for (int mend = 0; mend <= kMendsPerCandidate; ++mend) {
      if (options.spoil) options.spoil(level);
      std::string bytes = level::EncodeLevel(level, keys);
      out.proof = ProveAt(bytes, words, options.threads, shape.botLevel);
      if (out.proof.Passed()) {
        out.ok = true;
        out.title = level.title;
        out.mapBytes = std::move(bytes);
        std::string source = level::FormatLevelSource(level);
        const std::string head = "; Written by qm-level dump.\n";
        if (source.compare(0, head.size(), head) == 0) source.erase(0, head.size());
        out.source = "; Generated level: version " + std::to_string(kGeneratorVersion) +
                     ", grade " + std::to_string(grade) + ", seed " + std::to_string(seed) + ".\n" +
                     source;
        return out;
      }
      // A level that cannot be finished at all is not worth easing.
      if (!out.proof.fault.empty() || !Mend(level)) break;
    }
  }
  out.error = "no candidate passed its proof";
  return out;
}

}  // namespace qm::gen
