#include "engine/Random.hpp"
#include "engine/Screen.hpp"
#include "game/flow/Menus.hpp"
#include "game/rules/Easel.hpp"

namespace qm {

Screen PrepareGame(GameState& game) {
  BuildPieceTables(game.easel);
  // The play loop multiplies pointer drags by these when scrolling the Board.
  game.play.horizontalScroll = 1;
  game.play.verticalScroll = 1;
  game.options.musicVolume = 50;
  game.options.arrangement = 0;
  // The game itself speaks in the ChatLog under these names; speaker 0 is the player.
  for (int i = 1; i <= 8; ++i) game.players.speakerNames[i] = "Quillmosaica";
  auto& colours = game.render.speakerColours;
  colours = {};
  for (int i = 0; i <= 7; ++i) {
    int r = 55 + static_cast<int>(RandomUpTo(200));
    int g = 55 + static_cast<int>(RandomUpTo(200));
    int b = 55 + static_cast<int>(RandomUpTo(200));
    colours[i] = RgbColour(r, g, b);
  }
  colours[0] = RgbColour(255, 255, 255);
  colours[8] = RgbColour(255, 200, 55);
  game.easel.carriedSlotCount = game.easel.slots[0];
  return Screen::kStartLevel;
}

}  // namespace qm
