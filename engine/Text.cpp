#include "engine/Text.hpp"

#include <algorithm>

namespace qm {
namespace {

// Unicode of the Windows-1252 bytes 0x80..0x9F; the five unused bytes keep their C1 code.
constexpr uint16_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

unsigned char LowerByte(unsigned char c) {
  if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) return c + 32;
  switch (c) {
    case 0x8A:
      return 0x9A;  // S caron
    case 0x8C:
      return 0x9C;  // OE
    case 0x8E:
      return 0x9E;  // Z caron
    case 0x9F:
      return 0xFF;  // Y diaeresis
    default:
      return c;
  }
}

unsigned char UpperByte(unsigned char c) {
  if ((c >= 'a' && c <= 'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7)) return c - 32;
  switch (c) {
    case 0x9A:
      return 0x8A;
    case 0x9C:
      return 0x8C;
    case 0x9E:
      return 0x8E;
    case 0xFF:
      return 0x9F;
    default:
      return c;  // sharp s and micro sign have no single-byte capital
  }
}

void AppendUtf8(std::string& out, uint32_t code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

int Cp1252Byte(uint32_t code) {
  if (code == 0) return -1;  // strings cannot hold NUL
  if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) return static_cast<int>(code);
  for (int k = 0; k < 32; ++k)
    if (kHighControls[k] == code) return 0x80 + k;
  return -1;
}

int DigitValue(char c, int base) {
  int v = -1;
  if (c >= '0' && c <= '9')
    v = c - '0';
  else if (c >= 'a' && c <= 'f')
    v = c - 'a' + 10;
  else if (c >= 'A' && c <= 'F')
    v = c - 'A' + 10;
  return v >= 0 && v < base ? v : -1;
}

}  // namespace

std::string DecimalText(int64_t value) {
  // Through the unsigned magnitude, so the most negative value has its digits too.
  uint64_t magnitude = value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
  std::string digits;
  do {
    digits += static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude > 0);
  if (value < 0) digits += '-';
  std::reverse(digits.begin(), digits.end());
  return digits;
}

std::string CharText(int code) {
  code &= 0xFF;
  if (code == 0) return "";
  return std::string(1, static_cast<char>(code));
}

int64_t TextLength(const std::string& s) {
  return static_cast<int64_t>(s.size());
}

int FirstCharCode(const std::string& s) {
  return s.empty() ? 0 : static_cast<unsigned char>(s[0]);
}

std::string LeftText(const std::string& s, int64_t n) {
  if (n <= 0) return "";
  return s.substr(0, static_cast<size_t>(std::min<int64_t>(n, TextLength(s))));
}

std::string RightText(const std::string& s, int64_t n) {
  if (n <= 0) return "";
  int64_t take = std::min<int64_t>(n, TextLength(s));
  return s.substr(s.size() - static_cast<size_t>(take));
}

std::string MidText(const std::string& s, int64_t start, int64_t length) {
  if (length <= 0) return "";
  int64_t skip = start < 1 ? 0 : std::min<int64_t>(start - 1, TextLength(s));
  int64_t take = std::min<int64_t>(length, TextLength(s) - skip);
  return s.substr(static_cast<size_t>(skip), static_cast<size_t>(take));
}

std::string TrimLeftText(const std::string& s) {
  size_t first = s.find_first_not_of(' ');
  return first == std::string::npos ? "" : s.substr(first);
}

std::string TrimRightText(const std::string& s) {
  size_t last = s.find_last_not_of(' ');
  return last == std::string::npos ? "" : s.substr(0, last + 1);
}

std::string LowerCaseText(const std::string& s) {
  std::string out = s;
  for (char& c : out) c = static_cast<char>(LowerByte(static_cast<unsigned char>(c)));
  return out;
}

std::string UpperCaseText(const std::string& s) {
  std::string out = s;
  for (char& c : out) c = static_cast<char>(UpperByte(static_cast<unsigned char>(c)));
  return out;
}

std::string ReplaceText(const std::string& s, const std::string& search,
                        const std::string& replacement) {
  if (search.empty()) return s;
  std::string out;
  size_t at = 0;
  while (at < s.size()) {
    if (s.compare(at, search.size(), search) == 0) {
      out += replacement;
      at += search.size();
    } else {
      out += s[at++];
    }
  }
  return out;
}

int64_t TextToNumber(const std::string& s) {
  size_t at = 0;
  while (at < s.size() && (s[at] == ' ' || s[at] == '\t')) ++at;
  bool negative = false;
  if (at < s.size() && (s[at] == '+' || s[at] == '-')) negative = s[at++] == '-';
  int base = 10;
  if (at < s.size() && s[at] == '$') {
    base = 16;
    ++at;
  } else if (at < s.size() && s[at] == '%') {
    base = 2;
    ++at;
  }
  uint64_t value = 0;  // unsigned, so overflow wraps instead of being undefined
  for (; at < s.size(); ++at) {
    int digit = DigitValue(s[at], base);
    if (digit < 0) break;
    value = value * static_cast<uint64_t>(base) + static_cast<uint64_t>(digit);
  }
  if (negative) value = 0 - value;
  return static_cast<int64_t>(value);
}

int TextEquals(const std::string& a, const std::string& b) {
  return a == b ? 1 : 0;
}

std::string Cp1252ToUtf8(const std::string& s) {
  std::string out;
  out.reserve(s.size());
  for (char ch : s) {
    unsigned char c = static_cast<unsigned char>(ch);
    AppendUtf8(out, c >= 0x80 && c < 0xA0 ? kHighControls[c - 0x80] : c);
  }
  return out;
}

std::string Utf8ToCp1252(const std::string& s) {
  std::string out;
  size_t at = 0;
  while (at < s.size()) {
    unsigned char lead = static_cast<unsigned char>(s[at]);
    int extra = lead < 0x80             ? 0
                : (lead & 0xE0) == 0xC0 ? 1
                : (lead & 0xF0) == 0xE0 ? 2
                : (lead & 0xF8) == 0xF0 ? 3
                                        : -1;
    if (extra < 0) {  // a stray continuation byte or an invalid lead byte
      ++at;
      continue;
    }
    uint32_t code = extra == 0 ? lead : lead & (0x3F >> extra);
    size_t k = 1;
    for (; k <= static_cast<size_t>(extra); ++k) {
      if (at + k >= s.size() || (static_cast<unsigned char>(s[at + k]) & 0xC0) != 0x80) break;
      code = (code << 6) | (static_cast<unsigned char>(s[at + k]) & 0x3F);
    }
    if (k <= static_cast<size_t>(extra)) {  // truncated sequence: drop it
      at += k;
      continue;
    }
    at += k;
    int byte = Cp1252Byte(code);
    if (byte >= 0) out += static_cast<char>(byte);
  }
  return out;
}

}  // namespace qm
