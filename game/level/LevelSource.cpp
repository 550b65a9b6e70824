#include "game/level/LevelSource.hpp"

#include <algorithm>
#include <cstdio>
#include <map>
#include <optional>
#include <set>
#include <sstream>

#include "engine/Text.hpp"
#include "game/rules/Codes.hpp"

namespace qm::level {
namespace {

constexpr int64_t kMaxCells = 4194304;
constexpr int kMaxIndex = 32766;

// Symbols the dump prefers, so dumped maps read like hand-made ones.
const std::map<int, std::string>& PreferredSymbols() {
  static const std::map<int, std::string> table = [] {
    std::map<int, std::string> t = {{kFirstWall, "#"},
                                    {kFirstWall + 1, "="},
                                    {kFirstWall + 2, "%"},
                                    {kFirstPlain, "^"},
                                    {kFirstSoil, ","},
                                    {kFirstSoil + 1, ":"},
                                    {kGridSoil, "."},
                                    {kOpenedCell, "o"},
                                    {kFirstFalseWall, "?"},
                                    {kStartBox, "G"},
                                    {kEndBox, "F"},
                                    {kBonusMalus, "!"},
                                    {kHundredPoints, "$"},
                                    {kSpaceTakingPieces, "~"},
                                    {kFirstCompartment, "C"},
                                    {kFirstCompartment + 1, "C2"},
                                    {kFirstCompartment + 2, "C3"}};
    const char* kinds[] = {"g", "s", "b"};  // gold, silver, bronze
    for (int k = 0; k < kKeyKinds; ++k) {
      t[kFirstLockedWall + k] = std::string("L") + kinds[k];
      t[kGoldKey + k] = std::string("K") + kinds[k];
      t[kFirstMechanism + k] = "M" + std::to_string(k + 1);
      t[kFirstBag + k] = "B" + std::to_string(k + 1);
      t[kFirstStar + k] = "*" + std::to_string(k + 1);
      t[kFirstReduction + k] = "r" + std::to_string(k + 1);
    }
    const char* increases[] = {"i2", "i4", "i6", "i5", "iT", "iF"};
    for (int code = kFirstSmallIncrease; code <= kLastIncrease; ++code)
      t[code] = increases[code - kFirstSmallIncrease];
    for (int code = kFirstLetterMultiplier; code <= kLastLetterMultiplier; ++code)
      t[code] = std::to_string(LetterFactorOf(code));
    for (int code = kFirstWordMultiplier; code <= kLastWordMultiplier; ++code)
      t[code] = "W" + std::to_string(WordFactorOf(code));
    return t;
  }();
  return table;
}

const std::string kSymbolPool =
    "ABDEHIJNOPQRSTUVXYZacdefhjlnpqtuvwxyz@&+-/<>[]{}()_'\"`,:!$*?=%#^.~"
    "0123456789gsbmkrCFGKLMWi";

std::string Trim(const std::string& s) {
  size_t a = s.find_first_not_of(" \t");
  if (a == std::string::npos) return "";
  size_t b = s.find_last_not_of(" \t");
  return s.substr(a, b - a + 1);
}

std::string Lower(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  return s;
}

std::vector<std::string> Words(const std::string& s) {
  std::vector<std::string> out;
  std::istringstream in(s);
  std::string w;
  while (in >> w) out.push_back(w);
  return out;
}

std::optional<int64_t> StrictNumber(const std::string& s) {
  size_t at = 0;
  bool negative = false;
  if (at < s.size() && (s[at] == '-' || s[at] == '+')) negative = s[at++] == '-';
  if (at >= s.size() || s.size() - at > 12) return std::nullopt;
  int64_t v = 0;
  for (; at < s.size(); ++at) {
    if (s[at] < '0' || s[at] > '9') return std::nullopt;
    v = v * 10 + (s[at] - '0');
  }
  return negative ? -v : v;
}

// Title escapes: \\ for a backslash and \xHH for any byte, so every title fits on one line.
bool DecodeTitle(const std::string& text, std::string& out, std::string& fault) {
  std::string bytes = Utf8ToCp1252(text);
  if (Cp1252ToUtf8(bytes) != text) {
    fault = "the title has characters that Windows-1252 cannot hold";
    return false;
  }
  out.clear();
  for (size_t k = 0; k < bytes.size(); ++k) {
    if (bytes[k] != '\\') {
      out += bytes[k];
      continue;
    }
    if (k + 1 < bytes.size() && bytes[k + 1] == '\\') {
      out += '\\';
      ++k;
      continue;
    }
    auto hex = [](char c) {
      return c >= '0' && c <= '9'   ? c - '0'
             : c >= 'a' && c <= 'f' ? c - 'a' + 10
             : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                    : -1;
    };
    if (k + 3 < bytes.size() + 0 && bytes[k + 1] == 'x' && hex(bytes[k + 2]) >= 0 &&
        hex(bytes[k + 3]) >= 0) {
      out += static_cast<char>(hex(bytes[k + 2]) * 16 + hex(bytes[k + 3]));
      k += 3;
      continue;
    }
    fault = "a backslash in the title must start \\\\ or \\xHH";
    return false;
  }
  if (out.size() > 127) {
    fault = "the title is longer than 127 bytes";
    return false;
  }
  return true;
}

std::string EncodeTitle(const std::string& bytes) {
  std::string out;
  for (size_t k = 0; k < bytes.size(); ++k) {
    unsigned char c = static_cast<unsigned char>(bytes[k]);
    bool edgeSpace = c == ' ' && (k == 0 || k + 1 == bytes.size());
    if (c == '\\') {
      out += "\\\\";
    } else if (c < 32 || c == 127 || edgeSpace) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\x%02X", c);
      out += buf;
    } else {
      out += static_cast<char>(c);
    }
  }
  return Cp1252ToUtf8(out);
}

struct Row {
  int line;
  std::string text;  // after the '|'
};

class Parser {
 public:
  Parser(Level& level, SourceError& error) : level_(level), error_(error) {}

  bool Run(const std::string& text) {
    std::vector<std::string> lines;
    std::string cur;
    for (size_t k = 0; k < text.size(); ++k) {
      char c = text[k];
      if (c == '\n' || c == '\r') {
        lines.push_back(cur);
        cur.clear();
        if (c == '\r' && k + 1 < text.size() && text[k + 1] == '\n') ++k;
      } else {
        cur += c;
      }
    }
    if (!cur.empty()) lines.push_back(cur);
    for (size_t k = 0; k < lines.size(); ++k) {
      line_ = static_cast<int>(k + 1);
      if (!Line(lines[k])) return false;
    }
    line_ = 0;
    return Finish();
  }

 private:
  bool Fail(const std::string& message, int line = -1) {
    error_.line = line < 0 ? line_ : line;
    error_.message = message;
    return false;
  }

  bool Line(const std::string& raw) {
    if (!raw.empty() && raw[0] == '|') {
      if (section_ != "map" && section_ != "codes")
        return Fail("a map row ('|') outside a 'map' or 'codes' section");
      rows_.push_back({line_, raw.substr(1)});
      return true;
    }
    std::string t = Trim(raw);
    if (t.empty() || t[0] == ';') return true;
    size_t cut = t.find_first_of(" \t");
    std::string head = t.substr(0, cut);
    std::string rest = cut == std::string::npos ? "" : Trim(t.substr(cut));
    if (head.size() <= 2) {
      if (section_ != "legend")
        return Fail("unexpected '" + head + "' (legend entries follow 'legend')");
      return LegendEntry(head, rest);
    }
    return Key(Lower(head), rest);
  }

  bool LegendEntry(const std::string& symbol, const std::string& rest) {
    if (symbol[0] == '|' || symbol[0] == ';') return Fail("a symbol cannot start with '|' or ';'");
    for (char c : symbol)
      if (static_cast<unsigned char>(c) <= 32 || static_cast<unsigned char>(c) >= 127)
        return Fail("symbols are printable ASCII characters");
    std::vector<std::string> w = Words(rest);
    std::optional<int64_t> code = w.empty() ? std::nullopt : StrictNumber(w[0]);
    if (!code || *code < -32768 || *code > 32767)
      return Fail("legend entry '" + symbol + "' needs a cell code from -32768 to 32767");
    if (legend_.count(symbol)) return Fail("symbol '" + symbol + "' is defined twice");
    legend_[symbol] = static_cast<int16_t>(*code);
    return true;
  }

  bool Numbers(const std::string& key, const std::string& rest, size_t count, int64_t low,
               int64_t high, std::vector<int64_t>& out) {
    std::string body = rest.substr(0, rest.find(';'));
    std::vector<std::string> w = Words(body);
    if (w.size() != count)
      return Fail("'" + key + "' takes " + std::to_string(count) + " number" +
                  (count > 1 ? "s" : "") + ", found " + std::to_string(w.size()));
    out.clear();
    for (const std::string& s : w) {
      std::optional<int64_t> v = StrictNumber(s);
      if (!v) return Fail("'" + key + "': '" + s + "' is not a whole number");
      if (*v < low || *v > high)
        return Fail("'" + key + "': " + s + " is outside " + std::to_string(low) + ".." +
                    std::to_string(high));
      out.push_back(*v);
    }
    return true;
  }

  bool Key(const std::string& key, const std::string& rest) {
    static const std::set<std::string> known = {
        "title",     "start",      "size",   "shade-period", "shade-step",
        "base-tint", "objectives", "legend", "map",          "codes"};
    if (!known.count(key)) return Fail("unknown line '" + key + "'");
    if (seen_.count(key)) return Fail("'" + key + "' is given twice");
    seen_[key] = line_;
    section_.clear();
    std::vector<int64_t> v;
    if (key == "title") {
      std::string fault;
      if (!DecodeTitle(rest, level_.title, fault)) return Fail(fault);
    } else if (key == "start") {
      if (!Numbers(key, rest, 2, -32768, 32767, v)) return false;
      level_.startColumn = static_cast<int>(v[0]);
      level_.startRow = static_cast<int>(v[1]);
    } else if (key == "size") {
      if (!Numbers(key, rest, 2, 0, kMaxIndex, v)) return false;
      sizeW_ = static_cast<int>(v[0]);
      sizeH_ = static_cast<int>(v[1]);
    } else if (key == "shade-period") {
      if (!Numbers(key, rest, 1, -32768, 32767, v)) return false;
      level_.shadePeriod = static_cast<int>(v[0]);
    } else if (key == "shade-step" || key == "base-tint") {
      if (!Numbers(key, rest, 3, -32768, 32767, v)) return false;
      auto& target = key == "shade-step" ? level_.shadeStep : level_.baseTint;
      for (int k = 0; k < 3; ++k) target[k] = static_cast<int>(v[k]);
    } else if (key == "objectives") {
      if (!Numbers(key, rest, 20, -128, 127, v)) return false;
      for (int k = 0; k < 20; ++k) level_.objectives[k] = static_cast<int>(v[k]);
    } else {
      if (!Trim(rest.substr(0, rest.find(';'))).empty())
        return Fail("'" + key + "' stands alone on its line");
      if ((key == "map" && seen_.count("codes")) || (key == "codes" && seen_.count("map")))
        return Fail("a level has either a 'map' or a 'codes' section, not both");
      section_ = key;
    }
    return true;
  }

  bool MapRow(const Row& row, int r, std::vector<int16_t>& out) {
    std::string t = row.text;
    if (t.find('\t') != std::string::npos)
      return Fail("tabs break the map's alignment; use spaces", row.line);
    while (!t.empty() && (t.back() == ' ')) t.pop_back();
    size_t indent = r % 2;
    if (indent && !t.empty() && t[0] != ' ')
      return Fail("row " + std::to_string(r) + " is odd: it starts half a cell (one space) in",
                  row.line);
    std::string body = t.size() > indent ? t.substr(indent) : "";
    size_t count = (body.size() + 1) / 2;
    for (size_t c = 0; c < count; ++c) {
      std::string slot = body.substr(2 * c, 2);
      if (slot.size() < 2) slot += ' ';
      if (slot == "  ") {
        out.push_back(0);
        continue;
      }
      if (slot[0] == ' ')
        return Fail(
            "column " + std::to_string(c) + ": a symbol starts on its cell's first character",
            row.line);
      std::string symbol = slot[1] == ' ' ? slot.substr(0, 1) : slot;
      auto it = legend_.find(symbol);
      if (it == legend_.end())
        return Fail(
            "column " + std::to_string(c) + ": symbol '" + symbol + "' is not in the legend",
            row.line);
      out.push_back(it->second);
    }
    return true;
  }

  bool CodeRow(const Row& row, std::vector<int16_t>& out) {
    for (const std::string& s : Words(row.text)) {
      std::optional<int64_t> v = StrictNumber(s);
      if (!v || *v < -32768 || *v > 32767)
        return Fail("'" + s + "' is not a cell code from -32768 to 32767", row.line);
      out.push_back(static_cast<int16_t>(*v));
    }
    return true;
  }

  bool Finish() {
    for (const char* key : {"title", "shade-period", "shade-step", "base-tint", "objectives"})
      if (!seen_.count(key)) return Fail(std::string("the '") + key + "' line is missing");
    if (!seen_.count("map") && !seen_.count("codes")) return Fail("the 'map' section is missing");
    std::vector<std::vector<int16_t>> grid;
    for (size_t r = 0; r < rows_.size(); ++r) {
      std::vector<int16_t> cells;
      bool ok = seen_.count("map") ? MapRow(rows_[r], static_cast<int>(r), cells)
                                   : CodeRow(rows_[r], cells);
      if (!ok) return false;
      grid.push_back(std::move(cells));
    }
    size_t widest = 0;
    for (const auto& row : grid) widest = std::max(widest, row.size());
    int mapLine = seen_.count("map") ? seen_["map"] : seen_["codes"];
    if (sizeW_ >= 0) {
      if (grid.size() > static_cast<size_t>(sizeH_) + 1)
        return Fail("the map has " + std::to_string(grid.size()) + " rows, more than 'size' allows",
                    rows_[sizeH_ + 1].line);
      for (size_t r = 0; r < grid.size(); ++r)
        if (grid[r].size() > static_cast<size_t>(sizeW_) + 1)
          return Fail("row " + std::to_string(r) + " has more cells than 'size' allows",
                      rows_[r].line);
      level_.w = sizeW_;
      level_.h = sizeH_;
    } else {
      if (grid.empty()) return Fail("the map has no rows", mapLine);
      if (grid.size() > kMaxIndex + 1u || widest > kMaxIndex + 1u)
        return Fail("the map is too large", mapLine);
      level_.w = std::max<int>(0, static_cast<int>(widest) - 1);
      level_.h = static_cast<int>(grid.size()) - 1;
    }
    if (int64_t{level_.w + 1} * (level_.h + 1) > kMaxCells)
      return Fail("the map has more than 4194304 cells", mapLine);
    level_.cells.assign(static_cast<size_t>(level_.w + 1) * (level_.h + 1), 0);
    for (size_t r = 0; r < grid.size(); ++r)
      for (size_t c = 0; c < grid[r].size(); ++c) level_.cells[r * (level_.w + 1) + c] = grid[r][c];
    if (!seen_.count("start")) {
      auto it = std::find(level_.cells.begin(), level_.cells.end(), kStartBox);
      if (it == level_.cells.end())
        return Fail("no 'start' line and no start box (" + std::to_string(kStartBox) +
                    ") in the map");
      size_t at = static_cast<size_t>(it - level_.cells.begin());
      level_.startColumn = static_cast<int>(at % (level_.w + 1));
      level_.startRow = static_cast<int>(at / (level_.w + 1));
    }
    return true;
  }

  Level& level_;
  SourceError& error_;
  int line_ = 0;
  std::string section_;
  std::map<std::string, int> seen_;
  std::map<std::string, int16_t> legend_;
  std::vector<Row> rows_;
  int sizeW_ = -1, sizeH_ = -1;
};

std::string JoinNumbers(const int* values, size_t count) {
  std::string out;
  for (size_t k = 0; k < count; ++k) out += (k ? " " : "") + std::to_string(values[k]);
  return out;
}

}  // namespace

bool ParseLevelSource(const std::string& text, Level& level, SourceError& error) {
  level = Level{};
  Parser parser(level, error);
  return parser.Run(text);
}

std::string CellCodeName(int code) {
  static const char* kMaterials[] = {"plastic", "bronze", "silver", "gold", "diamond"};
  static const char* kKinds[] = {"gold", "silver", "bronze"};
  if (code == kVoidCell) return "interstellar space";
  if (HoldsPiece(code))
    return std::string("Piece '") + static_cast<char>('A' + LetterIndexOf(code)) + "' of " +
           kMaterials[MaterialOf(code)];
  if (IsWall(code)) return "wall";
  if (IsLockedWall(code)) return std::string(kKinds[code - kFirstLockedWall]) + " locked wall";
  if (InCodeRange(code, kFirstPlain, kLastPlain)) return "plain, no effect";
  if (code == kGridSoil) return "soil (the player's chosen grid background)";
  if (InCodeRange(code, kFirstSoil, kLastSoil)) return "soil";
  if (IsLetterMultiplier(code)) return "letter x" + std::to_string(LetterFactorOf(code));
  if (IsWordMultiplier(code)) return "word x" + std::to_string(WordFactorOf(code));
  if (IsScoreIncrease(code)) return "score +" + std::to_string(IncreasePercentOf(code)) + "%";
  if (IsReduction(code)) return "score reduction";
  if (IsFalseWall(code)) return "false wall";
  // The mechanisms run bronze, silver, gold: Materials 1..3.
  if (IsMechanism(code))
    return std::string("mechanism of ") + kMaterials[code - kFirstMechanism + 1];
  if (IsBag(code)) return "parts bag";
  if (code == kStartBox) return "start box (GO)";
  if (code == kEndBox) return "end box (Fin)";
  if (code == kBonusMalus) return "bonus/malus";
  if (code == kHundredPoints) return "+100 points";
  if (code == kSpaceTakingPieces) return "interstellar space that takes Pieces";
  if (IsStar(code)) return "stars";
  if (IsCompartment(code)) return "magic compartment";
  if (IsKey(code))
    return std::string(kKinds[code - kGoldKey]) + " key (opens " +
           std::to_string(LockOpenedBy(code)) + ")";
  if (InCodeRange(code, kLaidMark, kFirstCompartment - 1)) return "soil, no effect";
  return "unknown code";
}

std::string FormatLevelSource(const Level& level) {
  std::ostringstream out;
  out << "; Written by qm-level dump.\n";
  out << "title " << EncodeTitle(level.title) << "\n";
  out << "start " << level.startColumn << " " << level.startRow << "\n";
  out << "size " << level.w << " " << level.h << "\n";
  out << "shade-period " << level.shadePeriod << "\n";
  out << "shade-step " << JoinNumbers(level.shadeStep.data(), 3) << "\n";
  out << "base-tint " << JoinNumbers(level.baseTint.data(), 3) << "\n";
  out << "objectives " << JoinNumbers(level.objectives.data(), 20) << "\n";

  std::set<int16_t> codes(level.cells.begin(), level.cells.end());
  codes.erase(0);
  std::map<int16_t, std::string> symbols;
  std::set<std::string> used;
  for (int16_t code : codes) {
    auto it = PreferredSymbols().find(code);
    if (it != PreferredSymbols().end() && !used.count(it->second)) {
      symbols[code] = it->second;
      used.insert(it->second);
    }
  }
  std::vector<std::string> pool;
  for (char a : kSymbolPool) pool.push_back(std::string(1, a));
  for (char a : kSymbolPool)
    for (char b : kSymbolPool) pool.push_back(std::string(1, a) + b);
  size_t next = 0;
  bool fits = true;
  for (int16_t code : codes) {
    if (symbols.count(code)) continue;
    while (next < pool.size() && used.count(pool[next])) ++next;
    if (next == pool.size()) {
      fits = false;
      break;
    }
    symbols[code] = pool[next];
    used.insert(pool[next]);
  }
  int columns = level.w + 1;
  if (!fits) {  // more distinct codes than symbols: numbers, one row per line
    out << "codes\n";
    for (int r = 0; r <= level.h; ++r) {
      out << "|";
      for (int c = 0; c < columns; ++c) out << (c ? " " : "") << level.At(c, r);
      out << "\n";
    }
    return out.str();
  }
  out << "legend\n";
  for (const auto& [code, symbol] : symbols)
    out << "  " << symbol << (symbol.size() == 1 ? "  " : " ") << code << "  " << CellCodeName(code)
        << "\n";
  out << "map\n";
  for (int r = 0; r <= level.h; ++r) {
    std::string row = (r % 2) ? " " : "";
    for (int c = 0; c < columns; ++c) {
      int16_t code = level.At(c, r);
      std::string symbol = code == 0 ? " " : symbols[code];
      row += symbol;
      if (symbol.size() == 1) row += ' ';
    }
    while (!row.empty() && row.back() == ' ') row.pop_back();
    out << "|" << row << "\n";
  }
  return out.str();
}

}  // namespace qm::level
