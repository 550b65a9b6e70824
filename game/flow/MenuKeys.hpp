#pragma once
// The player list and the level list from the keyboard: Up and Down (Home, End, Page Up and
// Page Down where the list is long) move a highlight lit as the pointer's row; Return chooses.
#include <vector>

#include "game/GameState.hpp"

namespace qm {

class MenuKeys {
 public:
  // Keys pressed before the list was shown are not its own.
  explicit MenuKeys(bool paging);

  // One pass, after the keyboard was read: the row chosen with Return, or 0. rows are the rows
  // that can be chosen, top first; the highlight starts on defaultRow (or the first row).
  int Step(const std::vector<int>& rows, int defaultRow, int mouseX, int mouseY);
  // The highlight, drawn as the pointer lights its row.
  void Draw(const ProgramState& program, int rowHeight) const;
  // Back from a screen of its own (the new player): its keys are forgotten.
  void Forget();
  // Puts the highlight on a row (when it can be chosen at the next step).
  void Select(int row) { row_ = row; }

  int row() const { return row_; }
  bool shown() const { return shown_; }

 private:
  bool paging_;
  int row_ = 0;
  bool shown_ = false;
  bool mouseKnown_ = false;
  int mouseX_ = -1, mouseY_ = -1;
};

}  // namespace qm
