#include "game/Screens.hpp"

#include "game/flow/EndProgram.hpp"
#include "game/flow/Menus.hpp"
#include "game/flow/RecordsScreen.hpp"
#include "game/flow/StartUp.hpp"
#include "game/play/EndOfLevel.hpp"
#include "game/play/RunLevel.hpp"
#include "game/play/StartLevel.hpp"

namespace qm {

Screen RunScreen(GameState& game, Screen screen) {
  switch (screen) {
    case Screen::kStartUp:
      return StartUp(game);
    case Screen::kTitle:
      return TitleSequence(game);
    case Screen::kPlayerMenuEntry:
      return PlayerMenuEntry(game);
    case Screen::kPlayerMenuReturn:
      return PlayerMenuReturn(game);
    case Screen::kLevelMenu:
      return LevelMenu(game);
    case Screen::kPrepareGame:
      return PrepareGame(game);
    case Screen::kStartLevel:
      return StartLevel(game);
    case Screen::kRunLevel:
      return RunLevel(game);
    case Screen::kExitToPlayerMenu:
      return ExitToPlayerMenu(game);
    case Screen::kBackToLevelList:
      return BackToLevelList(game);
    case Screen::kRecords:
      return RecordsScreen(game);
    case Screen::kEndProgram:
      break;
  }
  EndProgram();
}

}  // namespace qm
