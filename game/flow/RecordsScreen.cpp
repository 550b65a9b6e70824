#include "game/flow/RecordsScreen.hpp"

#include <algorithm>

#include "engine/Drawing.hpp"
#include "engine/Input.hpp"
#include "engine/Screen.hpp"
#include "engine/Text.hpp"
#include "game/flow/MenuFrame.hpp"
#include "game/flow/Mouse.hpp"
#include "game/flow/StartUp.hpp"
#include "game/rules/Codes.hpp"
#include "game/rules/Records.hpp"

namespace qm {
namespace {

constexpr int kRowHeight = kMenuRowHeight;
constexpr size_t kDailiesShown = 30;  // the latest ones

std::string Or(const std::string& text, const std::string& none) {
  return text.empty() ? none : text;
}

}  // namespace

std::vector<std::string> RecordsLines(const PlayerRecords& r) {
  std::vector<std::string> lines;
  lines.push_back("Records of " + r.playerName);
  lines.push_back("");
  lines.push_back("Best move : " + (r.bestWord.empty()
                                        ? std::string("none yet")
                                        : r.bestWord + ", " + DecimalText(r.bestPoints) + " pts (" +
                                              r.bestLevel + ")"));
  lines.push_back("Longest word : " + Or(r.longestWord, "none yet"));
  lines.push_back("Words accepted : " + DecimalText(r.wordsAccepted));
  lines.push_back("Levels won : " + DecimalText(r.levelsWon));
  lines.push_back("Hints used : " + DecimalText(r.hintsUsed));
  lines.push_back("Daily streak : " + DecimalText(r.streak.current) + " (best " +
                  DecimalText(r.streak.best) + ")");
  lines.push_back("Endless level reached : " + DecimalText(r.endlessReached));
  lines.push_back("");
  lines.push_back(r.dailies.empty() ? "No daily played yet" : "Dailies :");
  const size_t first = r.dailies.size() > kDailiesShown ? r.dailies.size() - kDailiesShown : 0;
  for (size_t k = r.dailies.size(); k-- > first;) {
    const DailyResult& d = r.dailies[k];
    lines.push_back(DateText(d.day) + " : " + (d.won ? "won" : "not won") + ", " +
                    DecimalText(d.points) + " pts in " + DecimalText(d.moves) + " moves, " +
                    DecimalText(d.hints) + " hints");
  }
  return lines;
}

Screen RecordsScreen(GameState& game) {
  ProgramState& program = game.program;
  IgnorePressesFromBefore(program);
  const std::vector<std::string> lines = RecordsLines(game.records.records);
  for (;;) {
    BeginMenuFrame();
    int y = kRowHeight;
    for (const std::string& line : lines) {
      if (!line.empty()) DrawCentred(program, y, line, RgbColour(255, 255, 0));
      y += kRowHeight;
    }
    DrawCentred(program, y + kRowHeight, "Back (ESC)", RgbColour(200, 0, 0));
    EndDrawing();
    DrawSpriteKeyed(kPointerSprite, MousePosX(program.windowId), MousePosY(program.windowId));
    const bool click = MouseButtonIsDown(program, Button::kLeft) == 1;
    PresentFrame();
    ReadKeyboard();
    EndProgramIfQuitRequested();
    if (click) {
      while (MouseButtonIsDown(program, Button::kLeft) == 1) EndProgramIfQuitRequested();
      return Screen::kLevelMenu;
    }
    if (KeyIsDown(kKeyEscape) != 0) {
      // The level list goes back to the players on Escape: this press ends here.
      do {
        ReadKeyboard();
        EndProgramIfQuitRequested();
      } while (KeyIsDown(kKeyEscape) != 0);
      return Screen::kLevelMenu;
    }
  }
}

}  // namespace qm
