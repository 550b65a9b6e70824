#include "game/flow/GraphicsSets.hpp"

#include "engine/Screen.hpp"
#include "engine/Text.hpp"
#include "game/rules/Codes.hpp"

namespace qm {

void LoadGraphicsSets(GameState& game) {
  for (int i = 1; i <= kInterfacePictureCount; ++i)
    LoadSpriteImage(kInterfaceSpriteBase + i, "gfx\\" + DecimalText(i) + ".bmp");
  for (int i = 1; i <= kCellPictureCount; ++i) {
    // The grid background is one of the soil pictures 157, 158 or 159.
    int file = i == kGridSoil ? kFirstGridPicture + game.program.gridBackground : i;
    LoadSpriteImage(i, "gfx\\000\\" + DecimalText(file) + ".bmp");
  }
  for (int i = 300; i <= 394; ++i) LoadSpriteImage(i, "gfx\\000\\0\\" + DecimalText(i) + ".bmp");
  // The menus draw this 32 x 32 cell of the pointer sheet; the play loop re-clips it.
  SetSpriteClip(kPointerSprite, game.graphics.pointerFrame * 32, 0, 32, 32);
  LoadSpriteImage(kBackgroundSprite,
                  "gfx\\fond\\" + DecimalText(game.graphics.backgroundPicture) + ".jpg");
}

}  // namespace qm
