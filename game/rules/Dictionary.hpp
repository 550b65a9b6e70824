#pragma once
// The dictionary files, the chat word check and the two message lists.
#include <string>

#include "game/GameState.hpp"

namespace qm {

enum class LookUp { kFound, kNotFound, kTooShort };

// Looks a word up in "dico-english\dico-" + first letter + length. The word is normalised
// in place (lower case, trimmed, carriage returns removed). Reads one small file per call.
LookUp LookUpWord(std::string& word);

// A line typed in the chat: checked as a word, or the level skip "~~~" (advances
// game.menu.currentLevel, 44 wrapping to 1, and sets game.play.restartLevel).
void HandleChatLine(GameState& game, std::string line);

// Puts a line at the top of the ChatLog; its oldest line is lost.
void PushChatLine(GameState& game, ChatLine line);

// Copies the StatusLine text into the ChatLog as a game line.
void PushStatusToChat(GameState& game);

// Copies a move's text into the MoveHistory (newest first, 20 lines).
void PushMoveHistory(GameState& game, const std::string& text);

}  // namespace qm
