// End of a level: the result panel, the level that follows, and the EXIT sequence.
#include "game/play/EndOfLevel.hpp"

#include "engine/Clock.hpp"
#include "engine/Drawing.hpp"
#include "engine/Input.hpp"
#include "engine/Screen.hpp"
#include "engine/Sound.hpp"
#include "game/flow/Profiles.hpp"
#include "game/play/PlayCommon.hpp"
#include "game/play/Render.hpp"
#include "game/rules/Codes.hpp"

namespace qm {
namespace {

bool LevelWon(const GameState& game) {
  return game.objectives.progress[0] == game.board.objectives[0];
}

}  // namespace

int NextLevelNumber(int level, bool won) {
  if (!won) return level;
  return level < kLevelCount ? level + 1 : 1;
}

void ComposeResultPanel(GameState& game, bool firstTime) {
  auto& easel = game.easel;
  if (firstTime) {
    easel.carriedSlotCount = easel.referenceSlotCount;
    easel.referenceSlotCount = -1;  // marks the panel as composed
  }
  const int width = SpriteWidthOf(kResultPanelSprite);
  const int height = SpriteHeightOf(kResultPanelSprite);
  const int x = game.program.screenWidth / 2 - width / 2 - 34;
  const int y = RoundHalfEven(game.program.screenHeight / 2 - height / 1.5);
  game.render.panelX = static_cast<int16_t>(x);
  game.render.panelY = static_cast<int16_t>(y);
  CountObjectivesMet(game, x, y);

  // Judged afresh each time: after "Lv.+1" the level reached is already one higher, so a
  // panel composed again shows "Good" and the level reached does not rise twice.
  uint32_t colour = 0;
  std::string verdict;
  if (LevelWon(game)) {
    colour = RgbColour(0, 200, 0);
    auto& reached = game.players.levelsReached[0];
    if (game.menu.currentLevel == reached) {
      verdict = "Lv.+1";
      PlaySoundEffect(kSoundLevelUp);
      reached = static_cast<uint8_t>(reached + 1);
    } else {
      verdict = "Good";
      PlaySoundEffect(kSoundAccepted);
    }
  } else {
    colour = RgbColour(200, 0, 0);
    verdict = "Echec";
    PlaySoundEffect(kSoundAccepted);
  }
  LoadFont(1, "Arial", 18);
  BeginDrawing();
  SetDrawingMode(1);
  UseFont(FontHandleOf(1));
  DrawTextAt(x + width - TextWidthOf(verdict) - 35, y + height - 45, verdict, colour);
  EndDrawing();
  GrabScreenToSprite(kResultPanelSprite, x, y, width, height);
  game.play.lastVerdict = verdict;
}

std::optional<Screen> ResultPanelStep(GameState& game) {
  const uint32_t now = TickCount();
  auto& play = game.play;
  if (now - play.endTick <= 1000) return std::nullopt;  // nothing drawn, not even the cursor
  if (game.easel.referenceSlotCount >= 0) {
    ComposeResultPanel(game, true);
    play.recomposeResultPanel = false;
    return std::nullopt;
  }
  if (play.recomposeResultPanel) {
    ComposeResultPanel(game, false);
    play.recomposeResultPanel = false;
    return std::nullopt;
  }
  DrawSprite(kResultPanelSprite, game.render.panelX, game.render.panelY);
  game.status.text = " Press ESC to continue ";
  game.status.start = StatusTick(now + 100000);  // stays shown
  if (!KeyIsDown(kKeyEscape)) return std::nullopt;
  game.menu.currentLevel = NextLevelNumber(game.menu.currentLevel, LevelWon(game));
  return Screen::kStartLevel;
}

Screen ExitToPlayerMenu(GameState& game) {
  if (game.program.musicTrack > 0) StopMusicModule(kLevelMusic);
  FreeSpriteImage(kBackgroundSprite);
  GrabScreenToSprite(kBackgroundSprite, 0, 0, game.program.screenWidth, game.program.screenHeight);
  PlaySoundEffect(kSoundRefused);
  for (int alpha = 255; alpha >= 0; alpha -= 5) {
    ClearFrame(0);
    DrawSpriteFaded(kBackgroundSprite, 0, 0, alpha);
    PauseMs(1);
    PresentFrame();
  }
  SavePlayerProfile(game);
  return Screen::kPlayerMenuEntry;
}

}  // namespace qm
