#include "game/flow/NewPlayer.hpp"

#include <cmath>
#include <cstdio>

#include "engine/Clock.hpp"
#include "engine/Drawing.hpp"
#include "engine/Input.hpp"
#include "engine/Screen.hpp"
#include "engine/Text.hpp"
#include "game/flow/MenuFrame.hpp"
#include "game/flow/Profiles.hpp"
#include "game/flow/StartUp.hpp"
#include "game/rules/Codes.hpp"

namespace qm {
namespace {

constexpr int kAvatarSize = 76;
const uint32_t kGreen = RgbColour(0, 255, 0);
const uint32_t kRed = RgbColour(200, 0, 0);

void ClipAvatar(int avatar) {
  SetSpriteClip(kAvatarSprite, AvatarLeftEdge(avatar), 0, kAvatarSize, kAvatarSize);
}

void WaitForKeyRelease(int scanCode) {
  do {
    ReadKeyboard();
    EndProgramIfQuitRequested();
  } while (KeyIsDown(scanCode) != 0);
}

// Writes the new profile; only a player whose file was written is listed. False, with the
// reason and the path in problem, when it could not be written.
bool ConfirmNewPlayer(GameState& game, int k, const std::string& name, std::string& problem) {
  PlayerProfile p;
  p.name = name;
  p.levelReached = 1;
  p.avatar = game.players.avatars[k];
  p.easelSize = 10;
  std::string error;
  if (!WritePlayerProfile(k, p, &error)) {
    problem = error;
    std::fprintf(stderr, "quillmosaica: %s\n", error.c_str());
    return false;
  }
  game.menu.name[k] = name;
  game.menu.levelReached[k] = 1;
  game.play.chatOpen = 0;
  return true;
}

}  // namespace

// A name stops at 127 bytes: a longer one would not fit the profile's signed length byte and
// would not read back.
void AppendTypedText(std::string& name, const std::string& typed, bool shift) {
  name += shift ? UpperCaseText(typed) : typed;
  name = ReplaceText(ReplaceText(name, CharText(13), ""), CharText(8), "");
  if (name.size() > static_cast<size_t>(kMaxNameBytes)) name.resize(kMaxNameBytes);
}

int AvatarLeftEdge(int avatar) {
  int a = ((avatar % 20) + 20) % 20;
  return static_cast<int>(std::nearbyint(a * 76.4));
}

void NewPlayerEntry(GameState& game, int k) {
  if (k < 1 || k > MenuState::kProfiles) return;
  const ProgramState& program = game.program;
  MenuState& menu = game.menu;
  uint8_t& avatar = game.players.avatars[k];
  ClipAvatar(avatar);
  std::string name;
  std::string problem;  // why the last Return could not write the player
  for (;;) {
    BeginMenuFrame();

    menu.blinkCounter = (menu.blinkCounter + 1) % 80;
    std::string cursor = menu.blinkCounter < 40 ? "_" : "";
    std::string frame = "<" + std::string(32, ' ') + ">";
    DrawCentred(program, 210, frame, kGreen);
    // Centred without its cursor, so the line does not move when the cursor blinks.
    std::string line = "Name : " + name;
    DrawTextAt(program.screenWidth / 2 - TextWidthOf(line) / 2, 288, line + cursor, kGreen);
    if (!problem.empty()) {
      DrawCentred(program, 330, problem, kRed);
    }

    AppendTypedText(name, TypedCharacter(),
                    KeyIsDown(kKeyLeftShift) != 0 || KeyIsDown(kKeyRightShift) != 0);

    ReadKeyboard();
    EndProgramIfQuitRequested();
    if (KeyIsDown(kKeyBackspace) != 0 && menu.backspaceLatch == 1) {
      WaitForKeyRelease(kKeyBackspace);
      menu.backspaceLatch = 0;
    }
    if (KeyIsDown(kKeyBackspace) != 0 && menu.backspaceLatch == 0) {
      if (!name.empty()) name.pop_back();
      menu.backspaceLatch = 1;
    }

    EndDrawing();
    DrawSprite(kAvatarSprite, program.screenWidth / 2 - 38, 180);
    PresentFrame();
    FollowScreenSize(game);
    // One avatar step per frame plus 200 ms while an arrow key is held.
    if (menu.avatarChanged == 1) {
      PauseMs(200);
      menu.avatarChanged = 0;
    }

    ReadKeyboard();
    EndProgramIfQuitRequested();
    if ((KeyIsDown(kKeyReturn) != 0 || KeyIsDown(kKeyPadEnter) != 0) && !name.empty()) {
      if (ConfirmNewPlayer(game, k, name, problem)) return;
      WaitForKeyRelease(KeyIsDown(kKeyReturn) != 0 ? kKeyReturn : kKeyPadEnter);
    }
    if (KeyIsDown(kKeyLeft) != 0) {
      avatar = avatar == 0 ? 19 : static_cast<uint8_t>(avatar - 1);
      menu.avatarChanged = 1;
      ClipAvatar(avatar);
    }
    if (KeyIsDown(kKeyRight) != 0) {
      avatar = avatar >= 19 ? 0 : static_cast<uint8_t>(avatar + 1);
      menu.avatarChanged = 1;
      ClipAvatar(avatar);
    }
    if (KeyIsDown(kKeyEscape) != 0) {
      WaitForKeyRelease(kKeyEscape);
      return;
    }
  }
}

}  // namespace qm
