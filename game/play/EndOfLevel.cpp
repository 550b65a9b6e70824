// End of a level: the result panel, the level that follows, and the EXIT sequence.
#include "game/play/EndOfLevel.hpp"

#include "engine/Clock.hpp"
#include "engine/Drawing.hpp"
#include "engine/Input.hpp"
#include "engine/Screen.hpp"
#include "engine/Sound.hpp"
#include "game/flow/Profiles.hpp"
#include "game/flow/StartUp.hpp"
#include "game/play/KeyboardPlay.hpp"
#include "game/play/PlayCommon.hpp"
#include "game/play/Render.hpp"
#include "game/rules/Codes.hpp"
#include "game/rules/Dictionary.hpp"
#include "game/rules/Records.hpp"

namespace qm {
namespace {

bool LevelWon(const GameState& game) {
  return game.objectives.progress[0] == game.board.objectives[0];
}

const std::string kCopiedText = "Share line copied to the clipboard";
constexpr uint8_t kGameSpeaker = 8;  // the game's own lines in the ChatLog

// The result reaches the records once; a daily's share line goes to the ChatLog and the
// desktop clipboard.
void ReportLevelResult(GameState& game, bool won, const std::string& verdict) {
  if (game.records.tally.reported) return;
  NoteLevelEnded(game, won, verdict);
  if (game.menu.levelIdentity.kind != LevelKind::kDaily) return;
  const std::string& line = game.records.shareLine;
  PushChatLine(game, ChatLine{line, kGameSpeaker, static_cast<int32_t>(TickCount())});
  game.records.shareCopied = CopyTextToClipboard(line);
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
  const bool generated = game.menu.levelIdentity.kind != LevelKind::kHandMade;
  if (LevelWon(game) && generated) {
    // A generated level opens no hand-made level: its first win is its "Lv.+1".
    colour = RgbColour(0, 200, 0);
    const bool first =
        game.records.tally.reported ? game.play.lastVerdict == "Lv.+1" : FirstWin(game);
    verdict = first ? "Lv.+1" : "Good";
    PlaySoundEffect(first ? 1 : 2);
  } else if (LevelWon(game)) {
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
  if (firstTime) ReportLevelResult(game, LevelWon(game), verdict);
  if (game.records.shareCopied && game.menu.levelIdentity.kind == LevelKind::kDaily) {
    LoadFont(1, "Arial", 10);
    UseFont(FontHandleOf(1));
    // Under the verdict, on the right: the last objective line runs along the bottom left.
    DrawTextAt(x + width - TextWidthOf(kCopiedText) - 35, y + height - 22, kCopiedText,
               RgbColour(220, 220, 220));
  }
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
  if (!KeyDownOrTapped(kKeyEscape)) return std::nullopt;
  if (game.menu.levelIdentity.kind != LevelKind::kHandMade) return Screen::kBackToLevelList;
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
    FollowScreenSize(game);
  }
  SavePlayerProfile(game);
  SaveChosenRecords(game);
  return Screen::kPlayerMenuEntry;
}

Screen BackToLevelList(GameState& game) {
  if (game.program.musicTrack > 0) StopMusicModule(1);
  // The score the generated level brought is kept at once, as leaving through EXIT would.
  SavePlayerProfile(game);
  SaveChosenRecords(game);
  game.menu.levelIdentity = LevelIdentity{};
  game.menu.levelIdentity.number = game.menu.currentLevel = 1;
  if (LoadMusicModule(1, "zik\\0.mod") != 0) {
    SetMusicModuleVolume(1, 80);
    PlayMusicModule(1);
  }
  return Screen::kLevelMenu;
}

}  // namespace qm
