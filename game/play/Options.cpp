// Option panels: each 20x20 entry lights under the mouse and acts once per press.
#include "game/play/Options.hpp"

#include <string>
#include <utility>

#include "engine/Random.hpp"
#include "engine/Screen.hpp"
#include "engine/Sound.hpp"
#include "game/play/PlayCommon.hpp"
#include "game/play/Render.hpp"
#include "game/rules/Codes.hpp"
#include "game/rules/Easel.hpp"
#include "game/rules/Validate.hpp"

namespace qm {
namespace {

struct Colour {
  int r, g, b;
};

struct Box {
  int x, y, width, height;
};

// The common rule of every entry: true when the entry is used in this pass.
bool UseEntry(GameState& game, Box box, Colour click, Colour hover, bool allowed, uint32_t now) {
  auto& latch = game.options.panelClickLatch;
  const bool left = game.play.left != 0;
  if (left && latch == 0 && allowed) {
    DrawAdditiveBox(box.x, box.y, box.width, box.height, click.r, click.g, click.b);
    PlayClick(kClickPickUp);
    latch = 1;
    game.status.start = StatusTick(now);
    return true;
  }
  DrawAdditiveBox(box.x, box.y, box.width, box.height, hover.r, hover.g, hover.b);
  if (!left) latch = 0;
  return false;
}

void SetStatus(GameState& game, const std::string& text) {
  game.status.text = text;
}

std::string TrackPath(int track) {
  return "zik\\" + std::to_string(track) + ".mod";
}

void StartTrack(GameState& game, int track) {
  LoadMusicModule(kLevelMusic, TrackPath(track));
  SetMusicModuleVolume(kLevelMusic, game.options.musicVolume);
  PlayMusicModule(kLevelMusic);
}

bool MouseInWindow(const PlayState& play) {
  return play.mouseX >= 0 && play.mouseY >= 0;
}

void ChatPanel(GameState& game, uint32_t now) {
  const int height = game.program.screenHeight;
  const auto& play = game.play;
  DrawSprite(kLeftPanelSprite, 0, height - 204);
  const int k = (play.mouseY - height + 224) / 20;
  if (!(k >= 1 && k <= 5 && play.mouseX < 20)) return;
  if (!UseEntry(game, {0, height - 224 + 20 * k, 20, 20}, {200, 0, 200}, {80, 0, 80}, true, now)) {
    return;
  }
  auto& program = game.program;
  switch (k) {
    case 1:
      SetStatus(game, " Chat more ");
      program.chatLastLine = ChatMore(program.chatLastLine);
      break;
    case 2:
      SetStatus(game, " Change in size of the writing ");
      program.chatTextSize = static_cast<int8_t>((program.chatTextSize + 1) % 4);
      break;
    case 3:
      SetStatus(game, " Discoloration of the chat ");
      for (int i = 0; i <= 7; ++i) {
        const int b = static_cast<int>(RandomUpTo(200) + 55);
        const int g = static_cast<int>(RandomUpTo(200) + 55);
        const int r = static_cast<int>(RandomUpTo(200) + 55);
        game.render.speakerColours[i] = RgbColour(r, g, b);
      }
      break;
    case 4:
      SetStatus(game, " Chat transparent ON/OFF ");
      program.chatTransparency = (program.chatTransparency + 1) % 2;
      break;
    case 5:
      SetStatus(game, " Chat smaller ");
      program.chatLastLine = ChatSmaller(program.chatLastLine);
      break;
    default:
      break;
  }
}

void ChangeTrack(GameState& game, bool forward) {
  auto& music = game.program.musicTrack;
  const bool on = music > 0;
  int track = on ? music : -music;
  track = forward ? NextTrack(track) : PreviousTrack(track);
  SetStatus(game, " Music #" + std::to_string(track) + " ");
  if (on) {
    music = static_cast<int8_t>(track);
    StartTrack(game, track);
  } else {
    music = static_cast<int8_t>(-track);  // only remembered: music stays off
  }
}

void MusicPanel(GameState& game, uint32_t now) {
  const int width = game.program.screenWidth;
  const int height = game.program.screenHeight;
  const auto& play = game.play;
  DrawSprite(kRightPanelSprite, width - 20, height - 140);
  const int k = (play.mouseY - height + 160) / 20;
  if (!(play.mouseX > width - 20 && k >= 1)) return;
  auto& music = game.program.musicTrack;
  if (k >= 5) {
    DrawAdditiveBox(width - 20, play.mouseY, 20, 2, 0, 140, 0);
    if (play.left == 0) return;
    game.options.panelClickLatch = 2;
    game.options.musicVolume = static_cast<int8_t>(VolumeAt(height, play.mouseY));
    SetMusicModuleVolume(kLevelMusic, game.options.musicVolume);
    game.status.start = StatusTick(now);
    SetStatus(game, " Music sound level : " + std::to_string(game.options.musicVolume) + "% ");
    return;
  }
  if (!UseEntry(game, {width - 20, height - 160 + 20 * k, 20, 20}, {0, 255, 0}, {0, 80, 0}, true,
                now)) {
    return;
  }
  switch (k) {
    case 1:
      ChangeTrack(game, true);
      break;
    case 2:
      SetStatus(game, " Music OFF ");
      if (music > 0) {
        music = static_cast<int8_t>(-music);
        StopMusicModule(kLevelMusic);
      }
      break;
    case 3:
      SetStatus(game, " Music ON ");
      if (music < 0) music = static_cast<int8_t>(-music);
      // Also when already on: the track starts again from its beginning.
      if (LoadMusicModule(kLevelMusic, TrackPath(music)) != 0) {
        SetMusicModuleVolume(kLevelMusic, game.options.musicVolume);
        PlayMusicModule(kLevelMusic);
      }
      break;
    case 4:
      ChangeTrack(game, false);
      break;
    default:
      break;
  }
}

void PiecesPanel(GameState& game, uint32_t now) {
  const int height = game.program.screenHeight;
  const auto& play = game.play;
  DrawSpriteKeyed(kPiecesPanelSprite, 0, height - 91);
  const int k = (play.mouseY - height + 111) / 20;
  if (!(k >= 1 && k <= 3 && play.mouseX < 20)) return;
  if (!UseEntry(game, {0, height - 111 + 20 * k, 20, 20}, {150, 150, 255}, {30, 30, 150},
                play.exchange.activeToken == 0, now)) {
    return;
  }
  auto& easel = game.easel;
  const int n = easel.slots[0];
  switch (k) {
    case 1:
      SetStatus(game, " Randomize pieces ");
      for (int slot = 1; slot <= n; ++slot) {
        std::swap(easel.slots[slot], easel.slots[static_cast<size_t>(RandomUpTo(n - 1) + 1)]);
      }
      DrawEasel(game);
      break;
    case 2:
      SortEasel(easel, game.options.arrangement);
      SetStatus(game, " Piece arrangement #" + std::to_string(game.options.arrangement + 1));
      DrawEasel(game);
      game.options.arrangement = static_cast<int8_t>((game.options.arrangement + 1) % 2);
      break;
    case 3:
      SetStatus(game, " Get back all your piece ");
      ReturnLaidPieces(game);
      DrawEasel(game);
      break;
    default:
      break;
  }
}

void ValidationButton(GameState& game, uint32_t now) {
  const int height = game.program.screenHeight;
  auto& play = game.play;
  if (!(play.mouseX < 25 && play.mouseY > height - 25)) return;
  const bool allowed = play.dragState != 1 && play.endTick == 0;
  if (!UseEntry(game, {0, height - 24, 24, 24}, {200, 250, 200}, {0, 80, 0}, allowed, now)) {
    return;
  }
  if (play.validationLatch == 0) {
    ValidateMove(game);
    DrawEasel(game);  // as the turn left it: refused Pieces back, or refilled
    play.validationLatch = 1;
  }
}

void ViewPanel(GameState& game, uint32_t now) {
  const auto& play = game.play;
  DrawSprite(kViewPanelSprite, 0, 0);
  const int k = play.mouseY / 20;
  if (!(k >= 0 && k <= 2 && play.mouseX < 20)) return;
  if (!UseEntry(game, {0, 20 * k, 20, 20}, {255, 255, 0}, {90, 90, 0}, true, now)) return;
  switch (k) {
    case 0:
      if (game.play.endTick == 0) {
        SetStatus(game, " Your objective ");
        game.play.objectivesViewToggle = static_cast<int8_t>((play.objectivesViewToggle + 1) % 2);
      }
      break;
    case 1: {
      SetStatus(game, " Change the grid background ");
      auto& grid = game.program.gridBackground;
      grid = static_cast<int8_t>((grid + 1) % 3);
      LoadSpriteImage(kGridSoil, "gfx\\000\\" + std::to_string(kFirstSoil + grid) + ".bmp");
      break;
    }
    case 2:
      SetStatus(game, " Changing the background space ");
      game.graphics.backgroundPicture = static_cast<int8_t>(RandomUpTo(23));
      LoadSpriteImage(kBackgroundSprite,
                      "gfx\\fond\\" + std::to_string(game.graphics.backgroundPicture) + ".jpg");
      break;
    default:
      break;
  }
}

}  // namespace

int8_t ChatMore(int8_t lastLine) {
  return static_cast<int8_t>(lastLine + 2 > 19 ? 19 : lastLine + 2);
}

int8_t ChatSmaller(int8_t lastLine) {
  return static_cast<int8_t>(lastLine - 2 < 0 ? -1 : lastLine - 2);
}

int NextTrack(int track) {
  return track + 1 > 12 ? 1 : track + 1;
}

int PreviousTrack(int track) {
  return track - 1 < 1 ? 12 : track - 1;
}

int VolumeAt(int screenHeight, int mouseY) {
  const int volume = RoundHalfEven((screenHeight - mouseY - 1) * 1.6 + 10);
  return volume > 100 ? 100 : volume;
}

void SortEasel(EaselState& easel, int arrangement) {
  const int n = easel.slots[0];
  auto value = [&easel](int16_t code) {
    return code >= 0 && code <= kEmptySlot ? easel.pieceValue[static_cast<size_t>(code)] : 0;
  };
  auto outOfOrder = [&](int16_t a, int16_t b) {
    if (arrangement == 0) return a > b;
    return value(a) > value(b) || (value(a) == value(b) && a > b);
  };
  // Repeated passes of neighbour exchanges until one pass exchanges nothing.
  for (bool exchanged = true; exchanged;) {
    exchanged = false;
    for (int k = 1; k <= n - 1; ++k) {
      if (outOfOrder(easel.slots[k], easel.slots[k + 1])) {
        std::swap(easel.slots[k], easel.slots[k + 1]);
        exchanged = true;
      }
    }
  }
}

void HandleOptionPanels(GameState& game, uint32_t now) {
  const bool inWindow = MouseInWindow(game.play);
  // A pointer outside the window hovers no entry.
  const int savedX = game.play.mouseX, savedY = game.play.mouseY;
  if (!inWindow) {
    game.play.mouseX = -100000;
    game.play.mouseY = -100000;
  }
  ChatPanel(game, now);
  MusicPanel(game, now);
  PiecesPanel(game, now);
  ValidationButton(game, now);
  ViewPanel(game, now);
  if (!inWindow) {
    game.play.mouseX = savedX;
    game.play.mouseY = savedY;
  }
}

}  // namespace qm
