#pragma once
// Short definitions of the words played or checked in the chat, from the game folder's
// "definitions\english" (built from WordNet by qm-dict). Without that file nothing is shown.
#include <string>

#include "game/GameState.hpp"

namespace qm {

// The definition of a normalised word (lower case, no spaces), or "" when the file is
// missing, damaged or has no line for it. The file is sorted by word, so a lookup bisects
// it: a few small reads, never a scan, never past its end.
std::string LookUpDefinition(const std::string& word);

// Pushes " word: definition " into the ChatLog as a game line, cut to what fits the chat's
// width; does nothing when the word has no definition.
void PushDefinitionToChat(GameState& game, const std::string& word);

// After an accepted move: the definition of its main word (game.move.mainWord).
void PushMoveDefinition(GameState& game);

// Cuts a ChatLog text so that the line drawn for it (speaker name, " : ", text) fits the
// screen at the largest chat text size; a cut text ends in "...". Whole without a screen or
// without program.chatLineWidth (the play screen measures with its fonts, the tools do not).
std::string FitChatText(const GameState& game, uint8_t speaker, const std::string& text);

}  // namespace qm
