#pragma once
// Keyboard snapshot by scan code (set 1, +128 for extended keys) and window events.
#include <string>
#include <vector>

namespace qm {

enum ScanCode : int {
  kKeyEscape = 1,
  kKeyBackspace = 14,
  kKeyTab = 15,
  kKeyR = 19,
  kKeyReturn = 28,
  kKeyLeftShift = 42,
  kKeyRightShift = 54,
  kKeyLeftAlt = 56,
  kKeySpace = 57,
  kKeyF1 = 59,
  kKeyF2 = 60,
  kKeyF3 = 61,
  kKeyF4 = 62,
  kKeyF5 = 63,
  kKeyF6 = 64,
  kKeyF7 = 65,
  kKeyF8 = 66,
  kKeyF9 = 67,
  kKeyF10 = 68,
  kKeyF12 = 88,
  kKeyPadEnter = 156,
  kKeyHome = 199,
  kKeyUp = 200,
  kKeyPageUp = 201,
  kKeyLeft = 203,
  kKeyRight = 205,
  kKeyEnd = 207,
  kKeyDown = 208,
  kKeyPageDown = 209,
  kKeyDelete = 211,
};

enum WindowEvent : int {
  kEventNone = 0,
  kEventLeftDown = 513,
  kEventRightDown = 516,
  kEventMiddleDown = 519,
  kEventMiddleUp = 520,
  kEventActivated = 13104,
  kEventRightUp = 13111,
  kEventLeftUp = 13112,
  kEventLeftDoubleClick = 13113,
  kEventDeactivated = 13114,
};

int InitKeyboard();
int ReadKeyboard();
int KeyIsDown(int scanCode);  // -1 = any key
std::string TypedCharacter();
int MousePosX(int window);
int MousePosY(int window);
int PollWindowEvent(int waitMs);

// Keyboard play beside the snapshot: every key press (and the platform's auto-repeat) since
// the previous call, oldest first, so that keys tapped between two snapshots are not lost.
// At most 64 are kept; presses made while the window was away are dropped.
struct KeyPress {
  int scanCode = 0;
  bool repeat = false;  // an auto-repeat of a key held down
};
std::vector<KeyPress> TakeKeyPresses();
// The lower-case letter a..z the active keyboard layout gives the key, or 0.
char KeyLetter(int scanCode);

// A window-manager close request was seen (ends the game like Left Alt + F4); SIGTERM,
// SIGINT and SIGHUP count as one.
bool QuitRequested();

}  // namespace qm
