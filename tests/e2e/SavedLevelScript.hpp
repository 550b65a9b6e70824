#pragma once
// The scripted level of the saved-level tests: level 1 for "Ann", move 1 is C A T laid on GO
// and validated; the further moves are an exchange of three Pieces. Shared by the tests and
// by the program they kill.
#include <memory>
#include <vector>

#include "engine/Input.hpp"
#include "game/play/SavedLevel.hpp"
#include "tests/e2e/Session.hpp"

namespace qm::e2e {

// C A T E R S O N I L, plastic.
inline const std::vector<int16_t> kSavedLevelEasel = {3, 1, 20, 5, 18, 19, 15, 14, 9, 12};

// A session in its own folders with profile 1 for "Ann" at level 1, and the three word Cells
// found at each level start.
struct SavedLevelPlay {
  explicit SavedLevelPlay(const std::string& folder, bool presetEasel = true)
      : session(std::make_unique<Session>(folder)) {
    WriteFileBytes(session->playersFolder() + "/1", test::ProfileBytes("Ann", 1, 2, 10, 0));
    if (presetEasel) session->PresetEasel(1, kSavedLevelEasel);
    session->OnLevelStart([this](GameState& g) {
      if (cells.empty()) cells = WordCellsThroughGo(g);
      ++starts;
    });
  }
  std::string SavePath() const { return session->tempFolder() + "/saves/1"; }

  // From the start to level 1's row chosen, Shift held when asked; the level then starts.
  void ToLevelOne(Script& s, bool shift = false) {
    s.UntilScreen(Screen::kPlayerMenuEntry).Wait(200);
    s.Click(512, 1 * 13 + 6).UntilScreen(Screen::kLevelMenu).Wait(200);
    if (shift) s.Key(kKeyLeftShift, true).Wait(100);
    s.Click(512, 1 * 13 + 6).Until("level 1 running", Running);
    if (shift) s.Key(kKeyLeftShift, false);
  }

  // Move 1: Easel slots 1, 2, 3 dragged onto the word Cells, then Space; waits until the
  // move is accepted and its save is on disk.
  void MoveOne(Script& s) {
    s.Wait(500);
    DragSlotsOntoCells(s, cells, 3);
    s.Key(kKeySpace, true).Until("move 1 accepted", [](const GameState& g, Screen, uint32_t) {
      return g.move.accepted;
    });
    s.Key(kKeySpace, false);
    s.Check([](const GameState&) { WaitForLevelSaves(); }, "the save of move 1");
  }

  // Waits for the second pass after the one that saved (the uninterrupted session) or for
  // the second pass of the continued level, so both go on from the same frame. (The first
  // pass of a level may poll without presenting, which moves the clock within the pass.)
  void AlignAfterSave(Script& s) {
    s.Check([this](const GameState& g) { frame = g.render.frameCount; });
    s.Until("the second pass after the save", [this](const GameState& g, Screen, uint32_t) {
      return g.render.frameCount == frame + 2;
    });
  }
  void AlignAfterContinue(Script& s) {
    s.Until("the second pass of the continued level", [](const GameState& g, Screen sc, uint32_t) {
      return sc == Screen::kRunLevel && g.render.frameCount == -18;
    });
  }

  // The further moves: exchange token 1, Easel slots 1, 2 and 3 marked and exchanged.
  void FurtherMoves(Script& s) {
    s.Wait(300);
    s.MoveTo([](const GameState& g) {
      const int base = g.easel.left + g.easel.slots[0] * 52;
      return std::pair<int, int>{base - 61, g.easel.top - 11};
    });
    s.Wait(48).Button('L', true).Wait(64).Button('L', false).Wait(100);
    for (int k = 1; k <= 3; ++k) {
      s.MoveTo([k](const GameState& g) { return SlotMiddle(g, k); }).Wait(48);
      s.Button('L', true).Wait(64).Button('L', false).Wait(64);
    }
    s.MoveTo([](const GameState& g) { return std::pair<int, int>{594, g.easel.top - 244}; });
    s.Wait(48).Button('L', true).Wait(64).Button('L', false).Wait(300);
  }

  std::unique_ptr<Session> session;
  std::vector<CellPos> cells;
  int starts = 0;
  int32_t frame = 0;
};

}  // namespace qm::e2e
