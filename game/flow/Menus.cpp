#include "game/flow/Menus.hpp"

#include <algorithm>
#include <optional>
#include <vector>

#include "engine/Clock.hpp"
#include "engine/Drawing.hpp"
#include "engine/Files.hpp"
#include "engine/Input.hpp"
#include "engine/Screen.hpp"
#include "engine/Sound.hpp"
#include "engine/Text.hpp"
#include "game/flow/CommandLine.hpp"
#include "game/flow/GraphicsSets.hpp"
#include "game/flow/MenuFrame.hpp"
#include "game/flow/MenuKeys.hpp"
#include "game/flow/Mouse.hpp"
#include "game/flow/NewPlayer.hpp"
#include "game/flow/Profiles.hpp"
#include "game/flow/StartUp.hpp"
#include "game/play/GeneratedLevels.hpp"
#include "game/play/SavedLevel.hpp"
#include "game/rules/Codes.hpp"
#include "game/rules/Records.hpp"

namespace qm {
namespace {

constexpr int kRowHeight = kMenuRowHeight;
constexpr int kNewPlayerRow = 24;
constexpr int kQuitRow = 30;
constexpr int kLevelTitles = 50;

const uint32_t kYellow = RgbColour(255, 255, 0);
const uint32_t kGreen = RgbColour(0, 255, 0);
const uint32_t kDarkGreen = RgbColour(0, 60, 0);
const uint32_t kRed = RgbColour(200, 0, 0);

struct Pointer {
  int x = 0, y = 0;
  bool left = false;
  int row() const { return y / kRowHeight; }  // truncates toward zero: -1 gives row 0
};

// Reads the pointer, draws it and lights the row under it (the pointer inside it too).
Pointer DrawPointerAndRow(ProgramState& program) {
  Pointer p;
  p.x = MousePosX(program.windowId);
  p.y = MousePosY(program.windowId);
  p.left = MouseButtonIsDown(program, Button::kLeft) == 1;
  DrawSpriteKeyed(kPointerSprite, p.x, p.y);
  DrawAdditiveBox(0, p.row() * kRowHeight, program.screenWidth, kRowHeight, 10, 10, 100);
  return p;
}

void WaitForLeftRelease(ProgramState& program) {
  while (MouseButtonIsDown(program, Button::kLeft) == 1) EndProgramIfQuitRequested();
}

void WaitForKeyRelease(int scanCode) {
  do {
    ReadKeyboard();
    EndProgramIfQuitRequested();
  } while (KeyIsDown(scanCode) != 0);
}

// The rows a player may choose, top first: the profiles, New player while one is free, Quit.
std::vector<int> PlayerMenuRows(const MenuState& menu) {
  std::vector<int> rows;
  for (int n = 1; n <= MenuState::kProfiles; ++n) {
    if (!menu.name[n].empty() && menu.levelReached[n] > 0) rows.push_back(n);
  }
  if (menu.firstFreeProfile != -1) rows.push_back(kNewPlayerRow);
  rows.push_back(kQuitRow);
  return rows;
}

// The levels the player may start: reached, playable and with a title.
std::vector<int> LevelMenuRows(const MenuState& menu, int reached) {
  std::vector<int> rows;
  for (int i = 1; i <= reached && i <= kLevelCount; ++i) {
    if (!menu.levelTitles[i].empty()) rows.push_back(i);
  }
  return rows;
}

// The generated levels' rows below the level titles: today's daily for every player, the
// endless road for a Master, and the records.
struct ExtraRows {
  int daily = 0, endless = 0, records = 0;
  LevelIdentity dailyLevel, endlessLevel;
};

ExtraRows PlanExtraRows(const GameState& game, int reached) {
  ExtraRows rows;
  rows.daily = kLevelCount + 1;
  while (rows.daily <= kLevelTitles && !game.menu.levelTitles[rows.daily].empty()) ++rows.daily;
  int32_t day = LaunchCommandLine().dailyDay;
  if (day == 0) day = UtcDateNumber();
  rows.dailyLevel = DailyIdentity(day);
  int next = rows.daily + 1;
  if (reached > kLevelCount) {
    rows.endless = next++;
    rows.endlessLevel = EndlessIdentity(game.players.speakerNames[0],
                                        std::max(1, game.records.records.endlessReached));
  }
  rows.records = next;
  return rows;
}

std::string PreparationText(const LevelIdentity& level) {
  if (!LevelMakerAvailable()) return " (no level generator in this build)";
  switch (LevelPreparation(level)) {
    case Preparation::kNotAsked:
    case Preparation::kPreparing:
      return " (being prepared)";
    case Preparation::kFailed:
      return " (could not be made)";
    case Preparation::kReady:
      break;
  }
  return "";
}

std::string DailyRowText(const GameState& game, const LevelIdentity& level, bool continues) {
  std::string text =
      "Daily " + DateText(level.day) + PreparationText(level) + (continues ? kContinueMark : "");
  for (const DailyResult& d : game.records.records.dailies) {
    if (d.day == level.day)
      text +=
          std::string("  ::  ") + (d.won ? "won, " : "played, ") + DecimalText(d.points) + " pts";
  }
  return text;
}

}  // namespace

std::string PlayerMenuLine(const MenuState& menu, int n) {
  std::string level = menu.levelReached[n] <= kLevelCount
                          ? "Lv." + DecimalText(menu.levelReached[n])
                          : std::string("Master");
  return menu.name[n] + "  ::  " + level + " ::  Score : " + DecimalText(menu.score[n]);
}

Screen PlayerMenuEntry(GameState& game) {
  game.menu.currentLevel = 1;
  game.easel.slots = {};
  game.players.reserved1 = {};
  game.players.effectBonus = {};
  game.players.reserved2 = {};
  game.players.reserved3 = {};
  return PlayerMenuReturn(game);
}

Screen PlayerMenuReturn(GameState& game) {
  LoadGraphicsSets(game);
  MenuState& menu = game.menu;
  menu.name = {};
  menu.levelReached = {};
  menu.avatar = {};
  menu.easelSize = {};
  menu.reserved1 = {};
  menu.effectBonus = {};
  menu.reserved2 = {};
  menu.reserved3 = {};
  menu.score = {};
  // The menu music plays whatever the level music option says; a missing file is silent.
  if (LoadMusicModule(kLevelMusic, "zik\\0.mod") != 0) {
    SetMusicModuleVolume(kLevelMusic, 80);
    PlayMusicModule(kLevelMusic);
  }
  LoadPlayerProfiles(menu);
  return PlayerMenu(game);
}

Screen PlayerMenu(GameState& game) {
  ProgramState& program = game.program;
  MenuState& menu = game.menu;
  // The click that left the screen before may still be down.
  IgnorePressesFromBefore(program);
  MenuKeys keys(false);
  for (;;) {
    BeginMenuFrame();
    menu.firstFreeProfile = -1;
    for (int n = 1; n <= MenuState::kProfiles; ++n) {
      if (!menu.name[n].empty()) {
        DrawCentred(program, n * kRowHeight, PlayerMenuLine(menu, n), kYellow);
      } else if (menu.firstFreeProfile == -1) {
        menu.firstFreeProfile = n;
      }
    }
    DrawCentred(program, 312, "New player", kGreen);
    // A save that failed is told where the player comes back to (its file kept the old state).
    if (!menu.saveProblem.empty()) DrawCentred(program, 351, menu.saveProblem, kRed);
    DrawCentred(program, 390, "Quit (ESC)", kRed);
    EndDrawing();

    Pointer pointer = DrawPointerAndRow(program);
    const int keyRow = keys.Step(PlayerMenuRows(menu), menu.selectedProfile, pointer.x, pointer.y);
    keys.Draw(program, kRowHeight);
    if (pointer.left || keyRow != 0) {
      int row = pointer.left ? pointer.row() : keyRow;
      if (keyRow != 0) WaitForKeyRelease(kKeyReturn);
      if (row == kNewPlayerRow && menu.firstFreeProfile != -1) {
        const int made = menu.firstFreeProfile;
        NewPlayerEntry(game, made);
        LoadPlayerProfiles(menu);
        IgnorePressesFromBefore(program);
        keys.Forget();
        keys.Select(made);  // the new player, for the keyboard's next Return
        continue;
      }
      if (row >= 1 && row <= MenuState::kProfiles && menu.levelReached[row] > 0) {
        WaitForLeftRelease(program);
        ChoosePlayerValues(game, row);
        ChooseRecords(game, row);
        LoadLevelTitles(menu);
        return Screen::kLevelMenu;
      }
      if (row == kQuitRow) return Screen::kEndProgram;
    }

    PresentFrame();
    FollowScreenSize(game);
    ReadKeyboard();
    EndProgramIfQuitRequested();
    if (KeyIsDown(kKeyEscape) != 0) return Screen::kEndProgram;
  }
}

void LoadLevelTitles(MenuState& menu) {
  menu.levelTitles = {};
  for (int i = 1; i <= kLevelTitles; ++i) {
    if (OpenFileForReading(0, "maps\\" + DecimalText(i)) == 0) continue;
    menu.levelTitles[i] = "Level " + DecimalText(i) + " : " + ReadCountedText(0);
    CloseFileSlot(0);
  }
}

Screen LevelMenu(GameState& game) {
  ProgramState& program = game.program;
  MenuState& menu = game.menu;
  const int reached = game.players.levelsReached[program.humanPlayer];
  std::optional<ContinuableSave> saved;
  {
    const ExtraRows first = PlanExtraRows(game, reached);
    std::vector<LevelIdentity> offered = {first.dailyLevel};
    if (first.endless != 0) offered.push_back(first.endlessLevel);
    saved = ContinuableLevel(game, offered, nullptr);
  }
  IgnorePressesFromBefore(program);
  // The Escape that closed a generated level's result panel, still held, would leave the list.
  ReadKeyboard();
  if (KeyIsDown(kKeyEscape) != 0) WaitForKeyRelease(kKeyEscape);
  MenuKeys keys(true);
  for (;;) {
    // Asked again each frame: the day may change while the list is shown.
    const ExtraRows extra = PlanExtraRows(game, reached);
    RequestLevel(extra.dailyLevel);
    if (extra.endless != 0) RequestLevel(extra.endlessLevel);
    BeginMenuFrame();
    for (int i = 1; i <= kLevelTitles; ++i) {
      if (menu.levelTitles[i].empty()) continue;
      DrawCentred(program, i * kRowHeight, LevelMenuLine(menu, i, saved),
                  i <= reached ? kGreen : kDarkGreen);
    }
    // A saved generated level is offered once the generator has made it again.
    const bool dailyReady = LevelPreparation(extra.dailyLevel) == Preparation::kReady;
    const bool dailyContinues = OffersContinue(saved, extra.dailyLevel, nullptr);
    DrawCentred(program, extra.daily * kRowHeight,
                DailyRowText(game, extra.dailyLevel, dailyContinues),
                dailyReady ? kGreen : kDarkGreen);
    const bool endlessReady =
        extra.endless != 0 && LevelPreparation(extra.endlessLevel) == Preparation::kReady;
    const bool endlessContinues =
        extra.endless != 0 && OffersContinue(saved, extra.endlessLevel, nullptr);
    if (extra.endless != 0) {
      DrawCentred(program, extra.endless * kRowHeight,
                  "Endless " + DecimalText(extra.endlessLevel.endless) +
                      PreparationText(extra.endlessLevel) + (endlessContinues ? kContinueMark : ""),
                  endlessReady ? kGreen : kDarkGreen);
    }
    DrawCentred(program, extra.records * kRowHeight, "Records (R)", kYellow);
    EndDrawing();

    Pointer pointer = DrawPointerAndRow(program);
    std::vector<int> rows = LevelMenuRows(menu, reached);
    const int lastLevelRow = rows.empty() ? 0 : rows.back();
    if (dailyReady) rows.push_back(extra.daily);
    if (endlessReady) rows.push_back(extra.endless);
    rows.push_back(extra.records);
    const int keyRow = keys.Step(rows, lastLevelRow, pointer.x, pointer.y);
    keys.Draw(program, kRowHeight);
    const bool chosen = pointer.left || keyRow != 0;
    int row = pointer.left ? pointer.row() : keyRow;
    if (keyRow != 0 && !pointer.left) WaitForKeyRelease(kKeyReturn);
    if (chosen && ((row == extra.daily && dailyReady) || (row == extra.endless && endlessReady))) {
      menu.levelIdentity = row == extra.daily ? extra.dailyLevel : extra.endlessLevel;
      menu.currentLevel = PlaysAsLevel(menu.levelIdentity);
      menu.continueSaved = ChoosesContinue(row == extra.daily ? dailyContinues : endlessContinues);
      WaitForLeftRelease(program);
      return Screen::kPrepareGame;
    }
    if (chosen && row == extra.records) {
      WaitForLeftRelease(program);
      return Screen::kRecords;
    }
    if (chosen && row > 0 && row <= reached && row <= kLevelCount &&
        !menu.levelTitles[row].empty()) {
      menu.currentLevel = row;
      menu.levelIdentity = LevelIdentity{};
      menu.levelIdentity.number = row;
      menu.continueSaved = ChoosesContinue(OffersContinue(saved, menu.levelIdentity, nullptr));
      WaitForLeftRelease(program);
      return Screen::kPrepareGame;
    }

    PresentFrame();
    FollowScreenSize(game);
    ReadKeyboard();
    EndProgramIfQuitRequested();
    if (KeyIsDown(kKeyR) != 0) {
      WaitForKeyRelease(kKeyR);
      return Screen::kRecords;
    }
    if (KeyIsDown(kKeyEscape) != 0) {
      // The player list ends the program on Escape: let this press end here first.
      WaitForKeyRelease(kKeyEscape);
      return Screen::kPlayerMenuReturn;
    }
  }
}

}  // namespace qm
