// Keyboard snapshot by scan code and the window events, both kept from SDL's one event
// queue: key events update the key state, mouse and window events go to the engine's own
// queue, which PollWindowEvent hands out with the game's event codes.
#include "engine/Input.hpp"

#include <signal.h>

#include <array>
#include <deque>
#include <utility>

#include "engine/Clock.hpp"
#include "engine/Screen.hpp"
#include "engine/TestHooks.hpp"
#include "engine/Text.hpp"
#include "engine/VideoInternal.hpp"

namespace qm {
namespace {

// Platform message numbers passed through for events the game does not act on.
constexpr int kMessageSize = 5;
constexpr int kMessagePaint = 15;
constexpr int kMessageClose = 16;
constexpr int kMessageKeyDown = 256;
constexpr int kMessageKeyUp = 257;
constexpr int kMessageChar = 258;
constexpr int kMessageMouseMove = 512;
constexpr int kMessageRightDoubleClick = 518;
constexpr int kMessageMiddleDoubleClick = 521;
constexpr int kMessageWheel = 522;
constexpr int kMessageExtraDown = 523;
constexpr int kMessageExtraUp = 524;
constexpr int kMessageMouseLeave = 675;

// Events the game never drains are dropped oldest first past this many.
constexpr size_t kMaxQueuedEvents = 4096;
// A poll that would wait for ever moves the virtual clock by this much instead.
constexpr int kVirtualBlockMs = 16;

constexpr uint8_t kDown = 0x80;
constexpr size_t kMaxKeyPresses = 64;

// SDL's physical key numbers and the keyboard's set-1 scan codes (+128 for extended keys).
constexpr std::pair<SDL_Scancode, int> kScanCodes[] = {
    {SDL_SCANCODE_ESCAPE, 1},
    {SDL_SCANCODE_1, 2},
    {SDL_SCANCODE_2, 3},
    {SDL_SCANCODE_3, 4},
    {SDL_SCANCODE_4, 5},
    {SDL_SCANCODE_5, 6},
    {SDL_SCANCODE_6, 7},
    {SDL_SCANCODE_7, 8},
    {SDL_SCANCODE_8, 9},
    {SDL_SCANCODE_9, 10},
    {SDL_SCANCODE_0, 11},
    {SDL_SCANCODE_MINUS, 12},
    {SDL_SCANCODE_EQUALS, 13},
    {SDL_SCANCODE_BACKSPACE, 14},
    {SDL_SCANCODE_TAB, 15},
    {SDL_SCANCODE_Q, 16},
    {SDL_SCANCODE_W, 17},
    {SDL_SCANCODE_E, 18},
    {SDL_SCANCODE_R, 19},
    {SDL_SCANCODE_T, 20},
    {SDL_SCANCODE_Y, 21},
    {SDL_SCANCODE_U, 22},
    {SDL_SCANCODE_I, 23},
    {SDL_SCANCODE_O, 24},
    {SDL_SCANCODE_P, 25},
    {SDL_SCANCODE_LEFTBRACKET, 26},
    {SDL_SCANCODE_RIGHTBRACKET, 27},
    {SDL_SCANCODE_RETURN, 28},
    {SDL_SCANCODE_LCTRL, 29},
    {SDL_SCANCODE_A, 30},
    {SDL_SCANCODE_S, 31},
    {SDL_SCANCODE_D, 32},
    {SDL_SCANCODE_F, 33},
    {SDL_SCANCODE_G, 34},
    {SDL_SCANCODE_H, 35},
    {SDL_SCANCODE_J, 36},
    {SDL_SCANCODE_K, 37},
    {SDL_SCANCODE_L, 38},
    {SDL_SCANCODE_SEMICOLON, 39},
    {SDL_SCANCODE_APOSTROPHE, 40},
    {SDL_SCANCODE_GRAVE, 41},
    {SDL_SCANCODE_LSHIFT, 42},
    {SDL_SCANCODE_BACKSLASH, 43},
    {SDL_SCANCODE_Z, 44},
    {SDL_SCANCODE_X, 45},
    {SDL_SCANCODE_C, 46},
    {SDL_SCANCODE_V, 47},
    {SDL_SCANCODE_B, 48},
    {SDL_SCANCODE_N, 49},
    {SDL_SCANCODE_M, 50},
    {SDL_SCANCODE_COMMA, 51},
    {SDL_SCANCODE_PERIOD, 52},
    {SDL_SCANCODE_SLASH, 53},
    {SDL_SCANCODE_RSHIFT, 54},
    {SDL_SCANCODE_KP_MULTIPLY, 55},
    {SDL_SCANCODE_LALT, 56},
    {SDL_SCANCODE_SPACE, 57},
    {SDL_SCANCODE_CAPSLOCK, 58},
    {SDL_SCANCODE_F1, 59},
    {SDL_SCANCODE_F2, 60},
    {SDL_SCANCODE_F3, 61},
    {SDL_SCANCODE_F4, 62},
    {SDL_SCANCODE_F5, 63},
    {SDL_SCANCODE_F6, 64},
    {SDL_SCANCODE_F7, 65},
    {SDL_SCANCODE_F8, 66},
    {SDL_SCANCODE_F9, 67},
    {SDL_SCANCODE_F10, 68},
    {SDL_SCANCODE_NUMLOCKCLEAR, 69},
    {SDL_SCANCODE_SCROLLLOCK, 70},
    {SDL_SCANCODE_KP_7, 71},
    {SDL_SCANCODE_KP_8, 72},
    {SDL_SCANCODE_KP_9, 73},
    {SDL_SCANCODE_KP_MINUS, 74},
    {SDL_SCANCODE_KP_4, 75},
    {SDL_SCANCODE_KP_5, 76},
    {SDL_SCANCODE_KP_6, 77},
    {SDL_SCANCODE_KP_PLUS, 78},
    {SDL_SCANCODE_KP_1, 79},
    {SDL_SCANCODE_KP_2, 80},
    {SDL_SCANCODE_KP_3, 81},
    {SDL_SCANCODE_KP_0, 82},
    {SDL_SCANCODE_KP_PERIOD, 83},
    {SDL_SCANCODE_NONUSBACKSLASH, 86},
    {SDL_SCANCODE_F11, 87},
    {SDL_SCANCODE_F12, 88},
    {SDL_SCANCODE_KP_ENTER, 156},
    {SDL_SCANCODE_RCTRL, 157},
    {SDL_SCANCODE_KP_DIVIDE, 181},
    {SDL_SCANCODE_PRINTSCREEN, 183},
    {SDL_SCANCODE_RALT, 184},
    {SDL_SCANCODE_PAUSE, 197},
    {SDL_SCANCODE_HOME, 199},
    {SDL_SCANCODE_UP, 200},
    {SDL_SCANCODE_PAGEUP, 201},
    {SDL_SCANCODE_LEFT, 203},
    {SDL_SCANCODE_RIGHT, 205},
    {SDL_SCANCODE_END, 207},
    {SDL_SCANCODE_DOWN, 208},
    {SDL_SCANCODE_PAGEDOWN, 209},
    {SDL_SCANCODE_INSERT, 210},
    {SDL_SCANCODE_DELETE, 211},
    {SDL_SCANCODE_LGUI, 219},
    {SDL_SCANCODE_RGUI, 220},
    {SDL_SCANCODE_APPLICATION, 221},
};

// Keys whose character does not depend on the layout: control keys, and the keypad, which
// gives its digits whatever the Num Lock state.
constexpr std::pair<int, char> kFixedCharacters[] = {
    {1, 27},   {14, 8},    {15, 9},   {28, 13},  {156, 13}, {82, '0'}, {79, '1'},
    {80, '2'}, {81, '3'},  {75, '4'}, {76, '5'}, {77, '6'}, {71, '7'}, {72, '8'},
    {73, '9'}, {181, '/'}, {83, '.'}, {55, '*'}, {74, '-'}, {78, '+'},
};

struct InputState {
  bool keyboardCreated = false;
  bool acquired = false;                   // the last ReadKeyboard succeeded
  std::array<uint8_t, 256> live{};         // key states as the events left them
  std::array<uint8_t, 256> snapshot{};     // taken by ReadKeyboard
  std::array<bool, 256> typedFlags{};      // TypedCharacter saw the key down
  std::array<std::string, 256> keyText{};  // Windows-1252 text the key typed when pressed
  // What each key typed at each modifier level (Shift, AltGr) the last time it was pressed
  // there: a key hands out the character of the modifiers held at its release.
  std::array<std::array<std::string, 4>, 256> levelText{};
  std::array<std::array<bool, 4>, 256> levelKnown{};
  std::array<int, 256> pressLevel{};
  int lastKeyDown = -1;
  std::vector<KeyPress> presses;  // for TakeKeyPresses
  std::deque<int> events;
  bool quit = false;
  int pointerX = -1;  // pointer tracked from motion events where no real cursor exists
  int pointerY = -1;
};

InputState& Input() {
  // Never destroyed: pictures and fonts stay valid until the process ends.
  static auto* state = new InputState();
  return *state;
}

int ScanCodeOf(SDL_Scancode code) {
  for (const auto& [sdl, scan] : kScanCodes) {
    if (sdl == code) return scan;
  }
  return 0;
}

SDL_Scancode SdlCodeOf(int scan) {
  for (const auto& [sdl, code] : kScanCodes) {
    if (code == scan) return sdl;
  }
  return SDL_SCANCODE_UNKNOWN;
}

void Queue(int code) {
  InputState& in = Input();
  if (in.events.size() >= kMaxQueuedEvents) in.events.pop_front();
  in.events.push_back(code);
}

int ButtonDownCode(const SDL_MouseButtonEvent& button) {
  // The window asks for double clicks: the second press of a quick pair arrives as one.
  const bool second = button.clicks >= 2 && button.clicks % 2 == 0;
  switch (button.button) {
    case SDL_BUTTON_LEFT:
      return second ? kEventLeftDoubleClick : kEventLeftDown;
    case SDL_BUTTON_RIGHT:
      return second ? kMessageRightDoubleClick : kEventRightDown;
    case SDL_BUTTON_MIDDLE:
      return second ? kMessageMiddleDoubleClick : kEventMiddleDown;
    default:
      return kMessageExtraDown;
  }
}

int ButtonUpCode(const SDL_MouseButtonEvent& button) {
  switch (button.button) {
    case SDL_BUTTON_LEFT:
      return kEventLeftUp;
    case SDL_BUTTON_RIGHT:
      return kEventRightUp;
    case SDL_BUTTON_MIDDLE:
      return kEventMiddleUp;
    default:
      return kMessageExtraUp;
  }
}

void TrackPointer(int x, int y) {
  InputState& in = Input();
  if (!video::State().headless) return;
  in.pointerX = x;
  in.pointerY = y;
}

void HandleWindowEvent(const SDL_Event& event) {
  InputState& in = Input();
  switch (event.window.event) {
    case SDL_WINDOWEVENT_FOCUS_GAINED:
      video::State().focused = true;
      Queue(kEventActivated);
      break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
      // Keys cannot be followed while another window has them.
      video::State().focused = false;
      in.live.fill(0);
      in.presses.clear();
      Queue(kEventDeactivated);
      break;
    case SDL_WINDOWEVENT_LEAVE:
      TrackPointer(-1, -1);
      Queue(kMessageMouseLeave);
      break;
    case SDL_WINDOWEVENT_EXPOSED:
      video::HandleDisplayEvent(event);
      Queue(kMessagePaint);
      break;
    case SDL_WINDOWEVENT_SIZE_CHANGED:
      video::HandleDisplayEvent(event);
      Queue(kMessageSize);
      break;
    default:
      break;
  }
}

constexpr int kKeyRightAlt = 184;  // AltGr on the layouts that have it

// Bit 0 Shift, bit 1 AltGr.
int ModifierLevel(const std::array<uint8_t, 256>& keys, bool altGr) {
  bool shift = ((keys[kKeyLeftShift] | keys[kKeyRightShift]) & kDown) != 0;
  altGr = altGr || (keys[kKeyRightAlt] & kDown) != 0;
  return (shift ? 1 : 0) | (altGr ? 2 : 0);
}

// The layout's own character of a key without modifiers, when it has a single-byte one.
std::string UnmodifiedText(int code) {
  SDL_Keycode key = SDL_GetKeyFromScancode(SdlCodeOf(code));
  if (key < 0x20 || key == 0x7F || (key & SDLK_SCANCODE_MASK) != 0 || key > 0xFFFF) return {};
  char utf8[4] = {};
  if (key < 0x80) {
    utf8[0] = static_cast<char>(key);
  } else if (key < 0x800) {
    utf8[0] = static_cast<char>(0xC0 | (key >> 6));
    utf8[1] = static_cast<char>(0x80 | (key & 0x3F));
  } else {
    utf8[0] = static_cast<char>(0xE0 | (key >> 12));
    utf8[1] = static_cast<char>(0x80 | ((key >> 6) & 0x3F));
    utf8[2] = static_cast<char>(0x80 | (key & 0x3F));
  }
  return Utf8ToCp1252(utf8);
}

void HandleEvent(const SDL_Event& event) {
  InputState& in = Input();
  switch (event.type) {
    case SDL_KEYDOWN: {
      int code = ScanCodeOf(event.key.keysym.scancode);
      if (code != 0 && in.presses.size() < kMaxKeyPresses) {
        in.presses.push_back(KeyPress{code, event.key.repeat != 0});
      }
      if (code != 0 && event.key.repeat == 0) {
        const int level = ModifierLevel(in.live, (event.key.keysym.mod & KMOD_MODE) != 0);
        in.live[code] = kDown;
        in.keyText[code].clear();
        in.pressLevel[code] = level;
        in.levelText[code][level].clear();
        in.levelKnown[code][level] = true;
        in.lastKeyDown = code;
      }
      Queue(kMessageKeyDown);
      break;
    }
    case SDL_KEYUP: {
      int code = ScanCodeOf(event.key.keysym.scancode);
      if (code != 0) in.live[code] = 0;
      Queue(kMessageKeyUp);
      break;
    }
    case SDL_TEXTINPUT:
      // The text belongs to the key pressed last; it is handed out when that key is released.
      if (in.lastKeyDown >= 0) {
        const int code = in.lastKeyDown;
        in.keyText[code] = Utf8ToCp1252(event.text.text);
        in.levelText[code][in.pressLevel[code]] = in.keyText[code];
      }
      Queue(kMessageChar);
      break;
    case SDL_MOUSEMOTION:
      TrackPointer(event.motion.x, event.motion.y);
      Queue(kMessageMouseMove);
      break;
    case SDL_MOUSEBUTTONDOWN:
      Queue(ButtonDownCode(event.button));
      break;
    case SDL_MOUSEBUTTONUP:
      Queue(ButtonUpCode(event.button));
      break;
    case SDL_MOUSEWHEEL:
      Queue(kMessageWheel);
      break;
    case SDL_WINDOWEVENT:
      HandleWindowEvent(event);
      break;
    case SDL_RENDER_DEVICE_RESET:
    case SDL_RENDER_TARGETS_RESET:
      video::HandleDisplayEvent(event);
      break;
    case SDL_QUIT:
      in.quit = true;
      Queue(kMessageClose);
      break;
    default:
      break;
  }
}

// Letters follow the Shift and Caps Lock state at the moment the key is handed out.
char CaseForShift(char ch, bool upper) {
  auto c = static_cast<unsigned char>(ch);
  auto lowerOf = [](unsigned char u) -> int {
    if (u >= 'A' && u <= 'Z') return u + 32;
    if (u >= 0xC0 && u <= 0xDE && u != 0xD7) return u + 32;
    if (u == 0x8A || u == 0x8C || u == 0x8E) return u + 16;
    if (u == 0x9F) return 0xFF;
    return -1;
  };
  auto upperOf = [](unsigned char u) -> int {
    if (u >= 'a' && u <= 'z') return u - 32;
    if (u >= 0xE0 && u <= 0xFE && u != 0xF7) return u - 32;
    if (u == 0x9A || u == 0x9C || u == 0x9E) return u - 16;
    if (u == 0xFF) return 0x9F;
    return -1;
  };
  int changed = upper ? upperOf(c) : lowerOf(c);
  return changed >= 0 ? static_cast<char>(changed) : ch;
}

std::string CharacterOf(int code, bool upper, int level) {
  for (const auto& [scan, ch] : kFixedCharacters) {
    if (scan == code) return std::string(1, ch);
  }
  InputState& in = Input();
  // The text of the modifiers held now; when the key was never pressed with them, its
  // unmodified character, else (a level never seen) what it typed when pressed.
  std::string text = in.keyText[code];
  if (in.levelKnown[code][level]) {
    text = in.levelText[code][level];
  } else if (level == 0) {
    std::string plain = UnmodifiedText(code);
    if (!plain.empty()) text = plain;
  }
  for (char& ch : text) ch = CaseForShift(ch, upper);
  return text;
}

}  // namespace

namespace video {

void DrainEvents() {
  if (!State().initialised) return;
  SDL_Event event;
  while (SDL_PollEvent(&event) != 0) HandleEvent(event);
}

void ResetInputForNewWindow(bool focused) {
  InputState& in = Input();
  // SDL counts a second press within 32 pixels as a double click, which the game drops: two
  // quick clicks on neighbouring menu rows or option entries would lose the second. A few
  // pixels, as on the desktops the game was made for.
  SDL_SetHint(SDL_HINT_MOUSE_DOUBLE_CLICK_RADIUS, "2");
  State().focused = focused;
  in.live.fill(0);
  in.events.clear();
  in.presses.clear();
  in.pointerX = -1;
  in.pointerY = -1;
}

}  // namespace video

namespace {

// A hang-up (the terminal or the session going away) asks the game to close like SIGTERM
// does, so a level in play is saved; SDL turns only SIGINT and SIGTERM into a close request.
volatile sig_atomic_t gHangUp = 0;

void NoteHangUp(int) {
  gHangUp = 1;
}

void WatchHangUp() {
  // Started under nohup: hang-ups stay ignored.
  struct sigaction before {};
  if (sigaction(SIGHUP, nullptr, &before) == 0 && before.sa_handler == SIG_IGN) return;
  struct sigaction action {};
  action.sa_handler = NoteHangUp;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(SIGHUP, &action, nullptr);
}

}  // namespace

int InitKeyboard() {
  Input().keyboardCreated = true;
  Input().quit = false;  // a close request belongs to the run it ended
  gHangUp = 0;
  WatchHangUp();
  return 1;
}

int ReadKeyboard() {
  InputState& in = Input();
  NoteClockSpin();  // loops that only read the keyboard (waits for a release) see time pass
  video::DrainEvents();
  // The keyboard answers only while the game's window has the foreground.
  if (!in.keyboardCreated || !video::ScreenReady() || !video::State().focused) {
    in.acquired = false;
    return 0;
  }
  in.snapshot = in.live;
  in.acquired = true;
  return 1;
}

int KeyIsDown(int scanCode) {
  InputState& in = Input();
  if (!in.acquired) return 0;
  if (scanCode == -1) {
    for (int code = 0; code < 255; ++code) {
      if ((in.snapshot[code] & kDown) != 0) return 1;
    }
    return 0;
  }
  if (scanCode < 0 || scanCode > 255) return 0;
  return in.snapshot[scanCode] & kDown;
}

std::string TypedCharacter() {
  InputState& in = Input();
  std::string typed;
  if (!in.acquired) return typed;
  bool shift = ((in.snapshot[kKeyLeftShift] | in.snapshot[kKeyRightShift]) & kDown) != 0;
  bool caps = video::State().initialised && (SDL_GetModState() & KMOD_CAPS) != 0;
  bool altGr = video::State().initialised && (SDL_GetModState() & KMOD_MODE) != 0;
  const int level = ModifierLevel(in.snapshot, altGr);
  for (int code = 0; code < 255; ++code) {
    if ((in.snapshot[code] & kDown) != 0) {
      in.typedFlags[code] = true;
    } else if (in.typedFlags[code]) {
      in.typedFlags[code] = false;
      typed += CharacterOf(code, shift != caps, level);
    }
  }
  return typed;
}

std::vector<KeyPress> TakeKeyPresses() {
  InputState& in = Input();
  video::DrainEvents();
  std::vector<KeyPress> taken;
  taken.swap(in.presses);
  return taken;
}

char KeyLetter(int scanCode) {
  if (scanCode <= 0 || scanCode > 255 || !video::State().initialised) return 0;
  std::string text = UnmodifiedText(scanCode);
  if (text.size() != 1) return 0;
  char ch = CaseForShift(text[0], false);
  return ch >= 'a' && ch <= 'z' ? ch : 0;
}

namespace {

// The pointer position on the game's screen, in game pixels, or false when it is outside.
bool PointerInWindow(int window, int& x, int& y) {
  video::VideoState& s = video::State();
  if (!video::ScreenReady() || window != MainWindowId()) return false;
  video::DrainEvents();
  int windowX = -1;
  int windowY = -1;
  if (s.headless) {
    windowX = Input().pointerX;
    windowY = Input().pointerY;
  } else {
    if (SDL_GetMouseFocus() != s.window) return false;
    SDL_GetMouseState(&windowX, &windowY);
  }
  return video::WindowToGame(s, windowX, windowY, x, y);
}

}  // namespace

int MousePosX(int window) {
  int x = -1;
  int y = -1;
  return PointerInWindow(window, x, y) ? x : -1;
}

int MousePosY(int window) {
  int x = -1;
  int y = -1;
  return PointerInWindow(window, x, y) ? y : -1;
}

int PollWindowEvent(int waitMs) {
  InputState& in = Input();
  video::DrainEvents();
  NoteClockSpin();
  auto take = [&in]() {
    int code = in.events.front();
    in.events.pop_front();
    return code;
  };
  if (!in.events.empty()) return take();
  if (waitMs == 0 || !video::State().initialised) return kEventNone;
  if (VirtualClockInUse()) {
    // Waits end by moving the virtual clock; a replay injects its input as the clock moves.
    NoteClockWait(waitMs > 0 ? waitMs : kVirtualBlockMs);
    video::DrainEvents();
    return in.events.empty() ? kEventNone : take();
  }
  SDL_Event event;
  if (waitMs < 0) {
    while (in.events.empty()) {
      if (SDL_WaitEvent(&event) == 0) return kEventNone;
      HandleEvent(event);
    }
    return take();
  }
  const uint32_t deadline = SDL_GetTicks() + static_cast<uint32_t>(waitMs);
  while (in.events.empty()) {
    uint32_t now = SDL_GetTicks();
    if (static_cast<int32_t>(deadline - now) <= 0) return kEventNone;
    if (SDL_WaitEventTimeout(&event, static_cast<int>(deadline - now)) != 0) HandleEvent(event);
  }
  return take();
}

bool QuitRequested() {
  if (gHangUp != 0) Input().quit = true;
  return Input().quit;
}

// ---- Test hooks: input pushed as real SDL events -----------------------------------------

namespace {

void Push(SDL_Event& event) {
  if (!video::State().initialised) return;
  SDL_PushEvent(&event);
}

uint32_t WindowIdForEvents() {
  return static_cast<uint32_t>(MainWindowId());
}

}  // namespace

void InjectKey(int scanCode, bool down) {
  InjectPhysicalKey(SdlCodeOf(scanCode), down);
}

void InjectPhysicalKey(int usbUsage, bool down) {
  if (usbUsage <= SDL_SCANCODE_UNKNOWN || usbUsage >= SDL_NUM_SCANCODES) return;
  auto code = static_cast<SDL_Scancode>(usbUsage);
  SDL_Event event{};
  event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
  event.key.windowID = WindowIdForEvents();
  event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
  event.key.keysym.scancode = code;
  event.key.keysym.sym = SDL_GetKeyFromScancode(code);
  Push(event);
}

void InjectText(const std::string& cp1252) {
  std::string utf8 = Cp1252ToUtf8(cp1252);
  size_t at = 0;
  while (at < utf8.size()) {
    SDL_Event event{};
    event.type = SDL_TEXTINPUT;
    event.text.windowID = WindowIdForEvents();
    // One character per event keeps each within the event's small text buffer.
    size_t length = 1;
    while (at + length < utf8.size() &&
           (static_cast<unsigned char>(utf8[at + length]) & 0xC0) == 0x80)
      ++length;
    utf8.copy(event.text.text, length, at);
    event.text.text[length] = '\0';
    at += length;
    Push(event);
  }
}

void InjectMouseMove(int x, int y) {
  SDL_Event event{};
  event.type = SDL_MOUSEMOTION;
  event.motion.windowID = WindowIdForEvents();
  event.motion.x = x < 0 || y < 0 ? -1 : x;
  event.motion.y = x < 0 || y < 0 ? -1 : y;
  Push(event);
}

void InjectMouseButton(MouseButton button, bool down, int clicks) {
  SDL_Event event{};
  event.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
  event.button.windowID = WindowIdForEvents();
  event.button.button = button == MouseButton::kLeft    ? SDL_BUTTON_LEFT
                        : button == MouseButton::kRight ? SDL_BUTTON_RIGHT
                                                        : SDL_BUTTON_MIDDLE;
  event.button.state = down ? SDL_PRESSED : SDL_RELEASED;
  event.button.clicks = static_cast<uint8_t>(clicks < 1 ? 1 : (clicks > 255 ? 255 : clicks));
  event.button.x = Input().pointerX;
  event.button.y = Input().pointerY;
  Push(event);
}

void InjectFocus(bool active) {
  SDL_Event event{};
  event.type = SDL_WINDOWEVENT;
  event.window.windowID = WindowIdForEvents();
  event.window.event = active ? SDL_WINDOWEVENT_FOCUS_GAINED : SDL_WINDOWEVENT_FOCUS_LOST;
  Push(event);
}

void InjectQuit() {
  SDL_Event event{};
  event.type = SDL_QUIT;
  Push(event);
}

}  // namespace qm
