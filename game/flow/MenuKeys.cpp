#include "game/flow/MenuKeys.hpp"

#include <algorithm>

#include "engine/Input.hpp"
#include "engine/Screen.hpp"

namespace qm {
namespace {

constexpr int kPageRows = 10;

}  // namespace

MenuKeys::MenuKeys(bool paging) : paging_(paging) {
  TakeKeyPresses();
}

void MenuKeys::Forget() {
  TakeKeyPresses();
}

int MenuKeys::Step(const std::vector<int>& rows, int defaultRow, int mouseX, int mouseY) {
  // The pointer moved: the mouse is in use and its own row is lit.
  if (mouseKnown_ && (mouseX != mouseX_ || mouseY != mouseY_)) shown_ = false;
  mouseKnown_ = true;
  mouseX_ = mouseX;
  mouseY_ = mouseY;
  std::vector<KeyPress> presses = TakeKeyPresses();
  if (rows.empty()) return 0;
  auto at = std::find(rows.begin(), rows.end(), row_);
  if (at == rows.end()) {
    at = std::find(rows.begin(), rows.end(), defaultRow);
    if (at == rows.end()) at = rows.begin();
  }
  auto index = static_cast<int>(at - rows.begin());
  const int last = static_cast<int>(rows.size()) - 1;
  int chosen = 0;
  for (const KeyPress& press : presses) {
    const int key = press.scanCode;
    const bool paging =
        key == kKeyHome || key == kKeyEnd || key == kKeyPageUp || key == kKeyPageDown;
    if (paging && !paging_) continue;
    const bool wasShown = shown_;
    int moved = 0;
    switch (key) {
      case kKeyUp:
        moved = index - 1;
        break;
      case kKeyDown:
        moved = index + 1;
        break;
      case kKeyHome:
        moved = 0;
        break;
      case kKeyEnd:
        moved = last;
        break;
      case kKeyPageUp:
        moved = index - kPageRows;
        break;
      case kKeyPageDown:
        moved = index + kPageRows;
        break;
      case kKeyReturn:
      case kKeyPadEnter:
        if (!press.repeat && chosen == 0) chosen = rows[static_cast<size_t>(index)];
        continue;
      default:
        continue;
    }
    shown_ = true;
    // The first Up or Down shows where the highlight is before it moves it.
    const bool step = press.scanCode == kKeyUp || press.scanCode == kKeyDown;
    if (wasShown || !step) index = std::clamp(moved, 0, last);
  }
  row_ = rows[static_cast<size_t>(index)];
  return chosen;
}

void MenuKeys::Draw(const ProgramState& program, int rowHeight) const {
  if (!shown_ || row_ <= 0) return;
  DrawAdditiveBox(0, row_ * rowHeight, program.screenWidth, rowHeight, 10, 10, 100);
}

}  // namespace qm
