// Level start: everything a level needs, rebuilt afresh each time.
#include "game/play/StartLevel.hpp"

#include <string>

#include "engine/Clock.hpp"
#include "engine/Random.hpp"
#include "engine/Screen.hpp"
#include "engine/Sound.hpp"
#include "game/flow/GraphicsSets.hpp"
#include "game/play/Board.hpp"
#include "game/play/GeneratedLevels.hpp"
#include "game/play/HexGrid.hpp"
#include "game/play/Render.hpp"
#include "game/play/SavedLevel.hpp"
#include "game/rules/Codes.hpp"
#include "game/rules/Dictionary.hpp"
#include "game/rules/Easel.hpp"
#include "game/rules/Records.hpp"

namespace qm {
namespace {

constexpr int kGameSpeaker = 8;
constexpr int32_t kNeverShown = -100000;  // a ChatLog stamp too old to be shown

void ResetPlayState(PlayState& play) {
  play.objectivesViewToggle = 0;
  play.chatOpen = 0;
  play.chatInput = ChatInputLine{};
  play.enterLatch = 0;
  play.restartLevel = false;
  play.recomposeResultPanel = false;
}

void SeedMessages(GameState& game, uint32_t now) {
  for (auto& line : game.chat.chatLog) line = ChatLine{"", kGameSpeaker, kNeverShown};
  for (auto& line : game.chat.moveHistory) line = ChatLine{"", kGameSpeaker, 0};
  game.chat.chatLog[0] = ChatLine{"TAB: your objective (and the details of your points) ",
                                  kGameSpeaker, static_cast<int32_t>(now)};
  const char* help[8] = {
      "Below are the details of your points : ",
      "--- ",
      "The first word must be filed on the GO box and each new word must be attached to the "
      "game by at least one beam forming a correct word ",
      "Use the chat (ENTER) to check the spelling of a word ",
      "Left Mouse Click: Enter a room --- right click: Scrolling / Resume a room ",
      "ESC : Put all your pieces --- TAB : Your objective (and the details of your points) ",
      "Space key (or click mouse 'CENTER'): Validation of your word ",
      "Welcome Quillmosaica! v2.41 - lay your letters on the hexagons and let the words "
      "carry you to the box 'Fin' ",
  };
  for (int k = 0; k <= 7; ++k) game.chat.moveHistory[k].text = help[k];
}

void LoadLevelSounds() {
  LoadSoundEffect(0, "sfx\\1.wav");
  LoadSoundEffect(1, "sfx\\2.wav");
  LoadSoundEffect(2, "sfx\\13.ogg");
  LoadSoundEffect(3, "sfx\\17.ogg");
  LoadSoundEffect(5, "sfx\\6.ogg");
  LoadSoundEffect(12, "sfx\\3.wav");
  LoadSoundEffect(16, "sfx\\4.wav");
  LoadSoundEffect(17, "sfx\\18.ogg");
}

}  // namespace

int LevelMusicTrack(int level) {
  return (level - 1) % 12 + 1;
}

void LoadLevelMusicAndSounds(GameState& game) {
  const int track = LevelMusicTrack(game.menu.currentLevel);
  LoadMusicModule(kLevelMusic, "zik\\" + std::to_string(track) + ".mod");
  if (game.program.musicTrack > 0) {
    game.program.musicTrack = static_cast<int8_t>(track);
    SetMusicModuleVolume(kLevelMusic, game.options.musicVolume);
    PlayMusicModule(kLevelMusic);
  } else {
    game.program.musicTrack = static_cast<int8_t>(-track);  // off, remembering the track
  }
  LoadLevelSounds();
}

Screen StartLevel(GameState& game) {
  std::string notContinued;
  if (game.menu.continueSaved) {
    game.menu.continueSaved = false;
    if (ContinueSavedLevel(game, notContinued)) return Screen::kRunLevel;
  }
  auto& easel = game.easel;
  auto& play = game.play;
  auto& render = game.render;
  const int width = game.program.screenWidth;
  const int height = game.program.screenHeight;

  LevelIdentity& identity = game.menu.levelIdentity;
  // The chat's level skip leads from a generated level into the hand-made ones.
  if (identity.kind == LevelKind::kHandMade || play.restartLevel) {
    identity = LevelIdentity{};
    identity.number = game.menu.currentLevel;
  }
  const bool generated = identity.kind != LevelKind::kHandMade;
  // A generated level deals from its own stream, so the same moves meet the same Pieces.
  if (generated) {
    easel.dealStream.emplace(DealSeed(identity));
  } else {
    easel.dealStream.reset();
  }

  ResetPlayState(play);
  game.hint = HintState{};  // hints are counted per level
  game.status.start = 0;
  game.graphics.backgroundPicture = static_cast<int8_t>(RandomUpTo(23));
  DrawBackgroundTint(render.tint);
  game.options.panelClickLatch = 0;
  uint32_t now = TickCount();
  SeedMessages(game, now);

  play.validationLatch = 0;
  play.dragState = 0;
  play.carriedCode = 0;
  play.rightHeldBefore = 0;
  render.cursorFrame = 0;
  render.cursorState = 0;
  game.graphics.pointerFrame = 0;

  LoadGraphicsSets(game);
  render.appliedCursorState = 0;  // the reload clipped the cursor to its normal frame

  std::string mapBytes;
  if (generated && PreparedLevel(identity, mapBytes)) {
    // The same reading as a hand-made level: a Master makes one more word here too (the
    // generator proves its levels for a Master as well).
    ReadLevelBytes(game.board, mapBytes, game.players.levelsReached[0], width, height);
  } else {
    LoadLevel(game, game.menu.currentLevel);
  }
  UpdateVisibleWindow(game.board);
  // The definitions the rules add to the ChatLog are cut to the screen with its fonts.
  game.program.chatLineWidth = ChatLineWidth;
  ComputeShadeMap(game.board);
  // The deal draws after the background's numbers and before the drifting objects'.
  ResetLevelRules(game);
  LayOutEasel(easel, height);

  // Black is transparent in a grabbed picture: clear what lies around the frame tiles.
  ClearFrame(0);
  ComposeEaselFrame(game);
  DrawEasel(game);

  ScatterDriftingObjects(render, width, height);
  now = TickCount();
  ResetFrameCounters(render, now);
  render.sparklePhase = 0;

  DrawObjectivesPanel(game);

  play.exchange = ExchangeState{};
  render.tint.mark = TickCount();

  LoadLevelMusicAndSounds(game);
  // Once per level, not again when a saved level is continued (its ChatLog has it).
  if (game.menu.currentLevel == 1) {
    PushChatLine(game, ChatLine{"No mouse? F12 lists the keys", kGameSpeaker, 0});
  }
  if (!notContinued.empty()) {
    PushChatLine(game, ChatLine{"The saved level could not be continued: " + notContinued + " ",
                                kGameSpeaker, static_cast<int32_t>(TickCount())});
  }
  // The tally first: the level's first save holds it.
  BeginLevelTally(game);
  SaveLevelStart(game);
  return Screen::kRunLevel;
}

}  // namespace qm
