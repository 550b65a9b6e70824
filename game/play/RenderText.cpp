// The ChatLog, the DetailsView, the chat input line and the HUD.
#include <array>
#include <string>

#include "engine/Clock.hpp"
#include "engine/Drawing.hpp"
#include "engine/Input.hpp"
#include "engine/Screen.hpp"
#include "game/play/PlayCommon.hpp"
#include "game/play/Render.hpp"
#include "game/rules/Codes.hpp"
#include "game/rules/Records.hpp"

namespace qm {
namespace {

constexpr uint32_t kChatLineLife = 100000;  // ms a ChatLog line stays shown

std::string SpeakerLine(const GameState& game, const ChatLine& line) {
  const std::string& name = game.players.speakerNames[line.speaker % 9];
  return name + " : " + line.text;
}

uint32_t SpeakerColour(const GameState& game, const ChatLine& line) {
  return game.render.speakerColours[line.speaker % 9];
}

void BeginTextWith(int points, int mode) {
  LoadFont(1, "Arial", points);
  BeginDrawing();
  SetDrawingMode(mode);
  UseFont(FontHandleOf(1));
}

// Lines 0..last of a list, each over a shadow copy when the chat is transparent.
template <typename Shown>
void DrawMessageLines(const GameState& game, const std::array<ChatLine, 20>& lines, int last,
                      Shown shown) {
  const int height = game.program.screenHeight;
  const int s = game.program.chatTextSize;
  if (game.program.chatTransparency == 0) {
    for (int k = 0; k <= last; ++k) {
      if (!shown(lines[k])) continue;
      DrawTextAt(49, MessageLineY(height, s, k), SpeakerLine(game, lines[k]), 0, 0);
    }
    DrawTextAt(49, MessageLineY(height, s, last + 1), "...", 0, 0);
  }
  for (int k = 0; k <= last; ++k) {
    if (!shown(lines[k])) continue;
    DrawTextAt(48, MessageLineY(height, s, k) - 1, SpeakerLine(game, lines[k]),
               SpeakerColour(game, lines[k]), 0);
  }
  DrawTextAt(48, MessageLineY(height, s, last + 1) - 1, "...", RgbColour(180, 180, 180), 0);
}

}  // namespace

int ChatLineWidth(const std::string& line) {
  constexpr int kMeasureFontSlot = 3;     // slot 1 belongs to the drawing code
  constexpr int kLargestChatPoints = 10;  // the chat's font at its largest text size
  if (LoadFont(kMeasureFontSlot, "Arial", kLargestChatPoints) == 0) return 0;
  UseFont(FontHandleOf(kMeasureFontSlot));
  return TextWidthOf(line);
}

int MessageLineY(int screenHeight, int textSize, int k) {
  return RoundHalfEven(screenHeight - textSize - (1.5 * textSize + 11) * k - 107);
}

bool DetailsViewShown(const GameState& game) {
  return game.play.endTick == 0 && (KeyIsDown(kKeyTab) != 0 || game.play.objectivesViewToggle != 0);
}

void DrawMessages(GameState& game) {
  BeginTextWith(7 + game.program.chatTextSize, game.program.chatTransparency == 0 ? 1 : 0);
  ReadKeyboard();
  DrawChatOrDetails(game);
}

void DrawChatOrDetails(GameState& game) {
  const int width = game.program.screenWidth;
  if (DetailsViewShown(game)) {
    DrawMessageLines(game, game.chat.moveHistory, 19,
                     [](const ChatLine& line) { return !line.text.empty(); });
    EndDrawing();
    BeginTextWith(7, 1);
    const std::string memory =
        "Av. video Mem. : " + std::to_string(FreeVideoMemory() / 1000000) + " Mo";
    DrawTextAt(width - 169, 1, memory, RgbColour(1, 1, 1));
    DrawTextAt(width - 170, 0, memory, RgbColour(111, 111, 111));
    const std::string fps = "FPS : " + std::to_string(game.render.framesPerSecond) +
                            " - Average : " + std::to_string(game.render.averageFps);
    DrawTextAt(width - 169, 13, fps, RgbColour(1, 1, 1));
    DrawTextAt(width - 170, 12, fps, RgbColour(111, 111, 111));
    EndDrawing();
    game.render.panelX = 45;
    game.render.panelY = 50;
    CountObjectivesMet(game, 45, 50);
    return;
  }
  const uint32_t now = TickCount();
  DrawMessageLines(game, game.chat.chatLog, game.program.chatLastLine, [now](const ChatLine& line) {
    return now - static_cast<uint32_t>(line.time) < kChatLineLife;
  });
  EndDrawing();
}

void DrawChatInputLine(const GameState& game, uint32_t now) {
  const auto& input = game.play.chatInput;
  const int64_t length = static_cast<int64_t>(input.text.size());
  const std::string shown = "  >" + LeftPart(input.text, input.cursor) +
                            (now % 1024 < 512 ? "|" : " ") +
                            RightPart(input.text, length - input.cursor);
  BeginTextWith(10 + game.program.chatTextSize, 0);
  DrawTextAt(48, game.program.screenHeight - 93, shown, RgbColour(255, 255, 255), 0);
  EndDrawing();
}

void DrawHud(const GameState& game) {
  const int width = game.program.screenWidth;
  DrawSpriteFaded(kHudFrameSprite, width - 417, 33, 50);
  DrawSpriteKeyed(kHudFrameSprite, width - 420, 30);
  SetSpriteClip(kAvatarSprite, RoundHalfEven((game.players.avatars[0] % 20) * 76.4), 0, 76, 76);
  DrawSprite(kAvatarSprite, width - 250, 100);
  DrawSpriteKeyed(kScorePanelSprite, width - 240, 200);

  BeginTextWith(12, 1);
  const int reached = game.players.levelsReached[0];
  const std::string level = reached > kLevelCount ? "Master" : "Lv." + std::to_string(reached);
  const std::string score = "Score : " + std::to_string(game.players.scores[0]);
  const std::string& name = game.players.speakerNames[0];
  DrawTextAt(width - 155, 108, name, 0);
  DrawTextAt(width - 155, 131, level, 0);
  DrawTextAt(width - 155, 154, score, 0);
  DrawTextAt(width - 154, 107, name, RgbColour(255, 255, 55));
  DrawTextAt(width - 154, 130, level, RgbColour(150, 150, 150));
  DrawTextAt(width - 154, 153, score, RgbColour(220, 220, 220));
  const int bagCount = game.easel.bag.empty() ? 0 : game.easel.bag[0];
  DrawTextAt(width - 188, 205, std::to_string(bagCount),
             bagCount >= 30 ? RgbColour(222, 222, 100) : RgbColour(255, 80, 80));
  // A generated level names itself ("Daily 2026-12-11") where a hand-made one shows its number.
  const bool generated = game.menu.levelIdentity.kind != LevelKind::kHandMade;
  const std::string label =
      generated ? LevelLabel(game.menu) : "Lv." + std::to_string(game.menu.currentLevel);
  // Longer than its box holds, the name keeps its first word there and the rest goes under
  // the box, flush with its right side.
  const int boxRight = width - 240 + SpriteWidthOf(kScorePanelSprite) - 8;
  const size_t space = label.find(' ');
  const bool split = width - 128 + TextWidthOf(label) > boxRight && space != std::string::npos;
  DrawTextAt(width - 128, 205, split ? label.substr(0, space) : label, RgbColour(222, 222, 100));
  if (split) {
    const std::string rest = label.substr(space + 1);
    const int restX = boxRight - TextWidthOf(rest);
    const int restY = 200 + SpriteHeightOf(kScorePanelSprite) + 2;
    DrawTextAt(restX + 1, restY + 1, rest, 0);
    DrawTextAt(restX, restY, rest, RgbColour(222, 222, 100));
  }
  EndDrawing();
}

}  // namespace qm
