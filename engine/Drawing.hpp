#pragma once
// Text and plain rectangles drawn onto the back buffer between BeginDrawing and EndDrawing.
#include <cstdint>
#include <string>

namespace qm {

int LoadFont(int slot, const std::string& face, int points);
int64_t FontHandleOf(int slot);
int BeginDrawing();
void SetDrawingMode(int mode);  // bit 0 transparent text, bit 1 invert, bit 2 outline boxes
void UseFont(int64_t handle);   // -1 = the system font
void SetTextBackColour(uint32_t colourBgr);
int DrawTextAt(int x, int y, const std::string& text, uint32_t front);
int DrawTextAt(int x, int y, const std::string& text, uint32_t front, uint32_t back);
int TextWidthOf(const std::string& text);
void DrawBox(int x, int y, int width, int height, uint32_t colourBgr);
void EndDrawing();

// Counts glyph rasterisations since start (a steady frame must render none).
uint64_t GlyphRenderCount();

}  // namespace qm
