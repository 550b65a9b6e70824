#include "game/flow/MenuFrame.hpp"

#include "engine/Drawing.hpp"
#include "engine/Screen.hpp"
#include "engine/Text.hpp"

namespace qm {

void BeginMenuFrame() {
  ClearFrame(0);
  LoadFont(1, "Arial", 8);
  BeginDrawing();
  SetDrawingMode(0);
  UseFont(FontHandleOf(1));
  SetTextBackColour(0);
}

void DrawCentred(const ProgramState& program, int y, const std::string& text, uint32_t colour) {
  DrawTextAt(program.screenWidth / 2 - TextWidthOf(text) / 2, y, text, colour);
}

}  // namespace qm
