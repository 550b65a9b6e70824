#include "tests/e2e/Replay.hpp"

#include <cstdio>
#include <sstream>
#include <stdexcept>

#include "engine/TestHooks.hpp"

namespace qm::e2e {
namespace {

// Text is kept on one token: printable ASCII except space and '%' as is, the rest as %XX.
std::string EscapeText(const std::string& text) {
  std::string out;
  for (unsigned char c : text) {
    if (c > 32 && c < 127 && c != '%') {
      out += static_cast<char>(c);
    } else {
      char buf[4];
      std::snprintf(buf, sizeof buf, "%%%02X", c);
      out += buf;
    }
  }
  return out;
}

std::string UnescapeText(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size()) {
      out += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

[[noreturn]] void Bad(int lineNumber, const std::string& why) {
  throw std::runtime_error("replay line " + std::to_string(lineNumber) + ": " + why);
}

}  // namespace

int LetterScanCode(char letter) {
  static const int kCodes[26] = {30, 48, 46, 32, 18, 33, 34, 35, 23, 36, 37, 38, 50,
                                 49, 24, 25, 16, 19, 31, 20, 22, 47, 17, 45, 21, 44};
  if (letter >= 'a' && letter <= 'z') return kCodes[letter - 'a'];
  if (letter >= 'A' && letter <= 'Z') return kCodes[letter - 'A'];
  return 0;
}

std::string FormatReplayLine(const ReplayLine& line) {
  const InputState& s = line.state;
  std::ostringstream out;
  out << line.tick << " keys=";
  if (s.keys.empty()) out << '-';
  bool first = true;
  for (int k : s.keys) {
    out << (first ? "" : ",") << k;
    first = false;
  }
  out << " mouse=" << s.x << ',' << s.y << " buttons=";
  std::string buttons =
      std::string(s.left ? "L" : "") + (s.right ? "R" : "") + (s.middle ? "M" : "");
  out << (buttons.empty() ? "-" : buttons);
  if (!s.text.empty()) out << " text=" << EscapeText(s.text);
  if (!s.focus) out << " focus=0";
  if (s.quit) out << " quit";
  return out.str();
}

std::string FormatReplay(const Replay& replay) {
  std::ostringstream out;
  out << "quillmosaica-replay 1\n";
  out << "seed " << replay.seed << "\n";
  out << "screen " << replay.width << ' ' << replay.height << "\n";
  out << "step " << replay.stepMs << "\n";
  for (const EaselPreset& e : replay.easels) {
    out << "easel " << e.level;
    for (int16_t c : e.codes) out << ' ' << c;
    out << "\n";
  }
  for (const ReplayLine& line : replay.lines) out << FormatReplayLine(line) << "\n";
  if (replay.endTick) out << *replay.endTick << " end\n";
  return out.str();
}

Replay ParseReplay(const std::string& text) {
  Replay replay;
  std::istringstream in(text);
  std::string line;
  int number = 0;
  bool sawMagic = false;
  uint32_t lastTick = 0;
  while (std::getline(in, line)) {
    ++number;
    if (line.empty() || line[0] == '#') continue;
    std::istringstream words(line);
    std::string head;
    words >> head;
    if (!sawMagic) {
      int version = 0;
      if (head != "quillmosaica-replay" || !(words >> version) || version != 1) {
        Bad(number, "expected 'quillmosaica-replay 1'");
      }
      sawMagic = true;
      continue;
    }
    if (head == "seed") {
      if (!(words >> replay.seed)) Bad(number, "seed needs a number");
    } else if (head == "screen") {
      if (!(words >> replay.width >> replay.height) || replay.width <= 0 || replay.height <= 0) {
        Bad(number, "screen needs a width and a height");
      }
    } else if (head == "step") {
      if (!(words >> replay.stepMs) || replay.stepMs == 0) Bad(number, "step needs a number of ms");
    } else if (head == "easel") {
      EaselPreset e;
      if (!(words >> e.level)) Bad(number, "easel needs a level");
      int code = 0;
      while (words >> code) e.codes.push_back(static_cast<int16_t>(code));
      if (e.codes.empty() || e.codes.size() > 20) Bad(number, "easel needs 1 to 20 codes");
      replay.easels.push_back(e);
    } else {
      ReplayLine r;
      size_t used = 0;
      try {
        r.tick = static_cast<uint32_t>(std::stoul(head, &used));
      } catch (const std::exception&) {
        Bad(number, "unknown line '" + head + "'");
      }
      if (used != head.size()) Bad(number, "bad tick '" + head + "'");
      if (r.tick < lastTick) Bad(number, "ticks must not go back");
      lastTick = r.tick;
      std::string field;
      bool end = false;
      while (words >> field) {
        if (field == "end") {
          end = true;
        } else if (field == "quit") {
          r.state.quit = true;
        } else if (field.rfind("keys=", 0) == 0) {
          std::string list = field.substr(5);
          if (list != "-") {
            std::istringstream codes(list);
            std::string code;
            while (std::getline(codes, code, ',')) {
              int k = std::stoi(code);
              if (k < 1 || k > 255) Bad(number, "scan code out of range");
              r.state.keys.insert(k);
            }
          }
        } else if (field.rfind("mouse=", 0) == 0) {
          if (std::sscanf(field.c_str() + 6, "%d,%d", &r.state.x, &r.state.y) != 2) {
            Bad(number, "mouse needs x,y");
          }
        } else if (field.rfind("buttons=", 0) == 0) {
          for (char c : field.substr(8)) {
            if (c == 'L')
              r.state.left = true;
            else if (c == 'R')
              r.state.right = true;
            else if (c == 'M')
              r.state.middle = true;
            else if (c != '-')
              Bad(number, "buttons are L, R, M or -");
          }
        } else if (field.rfind("text=", 0) == 0) {
          r.state.text = UnescapeText(field.substr(5));
        } else if (field == "focus=0") {
          r.state.focus = false;
        } else if (field == "focus=1") {
          r.state.focus = true;
        } else {
          Bad(number, "unknown field '" + field + "'");
        }
      }
      if (end) {
        replay.endTick = r.tick;
      } else {
        replay.lines.push_back(r);
      }
    }
  }
  if (!sawMagic) Bad(number, "empty replay");
  return replay;
}

void InjectChange(const InputState& from, const InputState& to) {
  if (to.focus != from.focus) InjectFocus(to.focus);
  if (to.x != from.x || to.y != from.y) InjectMouseMove(to.x, to.y);
  // Keys go down first; typed text belongs to the keys released on this line.
  for (int k : to.keys) {
    if (!from.keys.count(k)) InjectKey(k, true);
  }
  if (!to.text.empty()) InjectText(to.text);
  for (int k : from.keys) {
    if (!to.keys.count(k)) InjectKey(k, false);
  }
  if (to.left != from.left) InjectMouseButton(MouseButton::kLeft, to.left);
  if (to.right != from.right) InjectMouseButton(MouseButton::kRight, to.right);
  if (to.middle != from.middle) InjectMouseButton(MouseButton::kMiddle, to.middle);
  if (to.quit && !from.quit) InjectQuit();
}

}  // namespace qm::e2e
