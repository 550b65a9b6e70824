#include "game/rules/Dictionary.hpp"

#include <utility>

#include "engine/Clock.hpp"
#include "engine/Files.hpp"
#include "engine/Random.hpp"
#include "engine/Sound.hpp"
#include "engine/Text.hpp"
#include "game/rules/Codes.hpp"
#include "game/rules/Definitions.hpp"

namespace qm {

namespace {

constexpr int kDictionarySlot = 1;  // file slot 1 is the dictionary's, free between lookups

// Entry i takes entry i - 1; the oldest line is lost.
void ShiftDown(std::array<ChatLine, 20>& lines) {
  for (int i = 19; i >= 1; --i) lines[i] = lines[i - 1];
}

std::string WithoutCarriageReturns(const std::string& text) {
  return ReplaceText(text, CharText(13), "");
}

}  // namespace

LookUp LookUpWord(std::string& word) {
  if (TextLength(word) < 2) return LookUp::kTooShort;
  word = WithoutCarriageReturns(TrimRightText(TrimLeftText(LowerCaseText(word))));
  // One file per first letter and length keeps every scan small; nothing is cached.
  std::string first = LeftText(word, 1);
  std::string path = "dico-english\\dico-" + first + DecimalText(TextLength(word));
  if (OpenFileForReading(kDictionarySlot, path) == 0) return LookUp::kNotFound;
  LookUp result = LookUp::kNotFound;
  while (FileAtEnd(kDictionarySlot) == 0) {
    if (TextEquals(first + ReadTextLine(kDictionarySlot), word) != 0) {
      result = LookUp::kFound;
      break;
    }
  }
  CloseFileSlot(kDictionarySlot);
  return result;
}

void HandleChatLine(GameState& game, std::string line) {
  line = WithoutCarriageReturns(line);
  ShiftDown(game.chat.chatLog);
  if (TextEquals(line, "~~~") != 0) {
    // The hidden level skip: the next level, 44 wrapping to 1, started afresh.
    game.menu.currentLevel = game.menu.currentLevel + 1;
    if (game.menu.currentLevel > kLevelCount) game.menu.currentLevel = 1;
    game.play.restartLevel = true;
    return;
  }
  std::string word = line;
  std::string text;
  const bool found = LookUpWord(word) == LookUp::kFound;
  if (found) {
    text = line + " - Ok";
    PlaySoundEffect(kSoundWordKnown);
  } else {
    text = line + " - ERROR: This word does not exist ! ";
    PlaySoundEffect(kSoundWordUnknown);
  }
  ChatLine& newest = game.chat.chatLog[0];
  newest.text = text;
  newest.speaker = 0;
  newest.time = static_cast<int32_t>(TickCount());
  if (found) PushDefinitionToChat(game, word);
}

void PushChatLine(GameState& game, ChatLine line) {
  ShiftDown(game.chat.chatLog);
  game.chat.chatLog[0] = std::move(line);
}

void PushStatusToChat(GameState& game) {
  ShiftDown(game.chat.chatLog);
  ChatLine& newest = game.chat.chatLog[0];
  newest.text = game.status.text;
  newest.speaker = static_cast<uint8_t>(RandomUpTo(6) + 1);  // one of the game's colours
  newest.time = static_cast<int32_t>(TickCount());
}

void PushMoveHistory(GameState& game, const std::string& text) {
  for (int i = 19; i >= 1; --i) {
    game.chat.moveHistory[i].text = game.chat.moveHistory[i - 1].text;
    game.chat.moveHistory[i].speaker = game.chat.moveHistory[i - 1].speaker;
  }
  game.chat.moveHistory[0].text = text;
  game.chat.moveHistory[0].speaker = 0;
}

}  // namespace qm
