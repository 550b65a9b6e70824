#include "game/rules/Definitions.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <string>

#include "engine/Clock.hpp"
#include "engine/Files.hpp"
#include "game/rules/Dictionary.hpp"

namespace qm {

namespace {

const char* const kDefinitionsFile = "definitions\\english";
// A real line is a word, a tab and at most a few hundred characters; a longer one is damage,
// and reading no further keeps every lookup to a few kilobytes whatever the file holds.
constexpr int64_t kMaxLine = 4096;
constexpr int64_t kShortRead = 512;
constexpr int kChatLeft = 48;
constexpr int kChatRightMargin = 24;  // clear of the option panel at the right edge

// The definitions file, open for one lookup. Reads are positioned, so nothing is read
// beyond the size the file had when it was opened.
class SortedFile {
 public:
  explicit SortedFile(const std::string& hostPath) {
    // Non-blocking, so a pipe or a device in its place cannot hang the game.
    fd_ = ::open(hostPath.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd_ < 0) return;
    struct stat info {};
    if (::fstat(fd_, &info) != 0 || !S_ISREG(info.st_mode)) {
      ::close(fd_);
      fd_ = -1;
      return;
    }
    size_ = info.st_size;
  }
  ~SortedFile() {
    if (fd_ >= 0) ::close(fd_);
  }
  SortedFile(const SortedFile&) = delete;
  SortedFile& operator=(const SortedFile&) = delete;

  bool IsOpen() const { return fd_ >= 0; }
  int64_t Size() const { return size_; }

  // Up to count bytes from offset, fewer at the end of the file.
  std::string Read(int64_t offset, int64_t count) const {
    std::string bytes;
    if (offset < 0 || offset >= size_) return bytes;
    count = std::min(count, size_ - offset);
    bytes.resize(static_cast<size_t>(count));
    int64_t got = 0;
    while (got < count) {
      ssize_t n = ::pread(fd_, bytes.data() + got, static_cast<size_t>(count - got), offset + got);
      if (n <= 0) break;
      got += n;
    }
    bytes.resize(static_cast<size_t>(got));
    return bytes;
  }

  // The offset of the first line that starts at or after offset, or -1 when none does
  // within reach.
  int64_t LineStartFrom(int64_t offset) const {
    if (offset <= 0) return 0;
    const std::string bytes = ReadUpToLineEnd(offset - 1, kMaxLine + 1);
    const size_t end = bytes.find('\n');
    if (end == std::string::npos) return -1;
    return offset + static_cast<int64_t>(end);
  }

  // Like Read, but a short read first: most lines end well within it.
  std::string ReadUpToLineEnd(int64_t offset, int64_t count) const {
    std::string bytes = Read(offset, std::min<int64_t>(count, kShortRead));
    if (bytes.find('\n') == std::string::npos && count > kShortRead) bytes = Read(offset, count);
    return bytes;
  }

 private:
  int fd_ = -1;
  int64_t size_ = 0;
};

// Compares a line's word (the bytes before its tab) with word, as unsigned bytes.
int CompareKey(const std::string& line, const std::string& word) {
  const size_t tab = line.find('\t');
  const std::string key = line.substr(0, tab);
  const int c = key.compare(word);  // std::string compares as unsigned char
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

std::string Bisect(const SortedFile& file, const std::string& word) {
  // Lines starting in [low, high) are still candidates.
  int64_t low = 0;
  int64_t high = file.Size();
  while (low < high) {
    const int64_t middle = low + (high - low) / 2;
    const int64_t start = file.LineStartFrom(middle);
    if (start < 0 || start >= high) {
      high = middle;
      continue;
    }
    std::string line = file.ReadUpToLineEnd(start, kMaxLine);
    const size_t end = line.find('\n');
    if (end == std::string::npos && start + static_cast<int64_t>(line.size()) < file.Size()) {
      high = middle;  // a line too long to be one of ours: look before it
      continue;
    }
    if (end != std::string::npos) line.resize(end);
    const int order = CompareKey(line, word);
    if (order == 0) {
      const size_t tab = line.find('\t');
      return tab == std::string::npos ? "" : line.substr(tab + 1);
    }
    if (order < 0) {
      low = start + static_cast<int64_t>(line.size()) + 1;
    } else {
      high = middle;
    }
  }
  return "";
}

// Control bytes would break the chat line; a carriage return left by a text editor too.
std::string Printable(const std::string& text) {
  std::string clean;
  for (char c : text) {
    if (static_cast<unsigned char>(c) >= 32) clean.push_back(c);
  }
  return clean;
}

int SpokenLineWidth(const GameState& game, uint8_t speaker, const std::string& text) {
  const std::string line = game.players.speakerNames[speaker % 9] + " : " + text;
  int width = game.program.chatLineWidth(line);
  // Without a font (no text service) a wide average character keeps the estimate safe.
  if (width <= 0) width = static_cast<int>(line.size()) * 9;
  return width;
}

// Game lines take a colour from the word, not from the random source, so the Pieces a
// replay deals stay the same with or without definitions.
uint8_t DefinitionSpeaker(const std::string& word) {
  unsigned sum = 0;
  for (unsigned char c : word) sum += c;
  return static_cast<uint8_t>(1 + sum % 7);
}

}  // namespace

std::string LookUpDefinition(const std::string& word) {
  if (word.empty() || word.find('\t') != std::string::npos ||
      word.find('\n') != std::string::npos) {
    return "";
  }
  const std::string host = HostPath(kDefinitionsFile);
  if (host.empty()) return "";
  SortedFile file(host);
  if (!file.IsOpen()) return "";
  return Printable(Bisect(file, word));
}

std::string FitChatText(const GameState& game, uint8_t speaker, const std::string& text) {
  // Without a screen (the tools run the rules alone) there is nothing to fit.
  if (game.program.screenWidth <= 0 || game.program.chatLineWidth == nullptr) return text;
  const int room = game.program.screenWidth - kChatLeft - kChatRightMargin;
  if (SpokenLineWidth(game, speaker, text) <= room) return text;
  // The longest cut that fits, found by bisection on its length.
  size_t fits = 0;
  size_t tooLong = text.size();
  while (tooLong - fits > 1) {
    const size_t length = fits + (tooLong - fits) / 2;
    if (SpokenLineWidth(game, speaker, text.substr(0, length) + "...") <= room) {
      fits = length;
    } else {
      tooLong = length;
    }
  }
  return text.substr(0, fits) + "...";
}

void PushDefinitionToChat(GameState& game, const std::string& word) {
  const std::string definition = LookUpDefinition(word);
  if (definition.empty()) return;
  const uint8_t speaker = DefinitionSpeaker(word);
  PushChatLine(game, ChatLine{FitChatText(game, speaker, " " + word + ": " + definition + " "),
                              speaker, static_cast<int32_t>(TickCount())});
}

void PushMoveDefinition(GameState& game) {
  if (game.move.accepted && !game.move.mainWord.empty())
    PushDefinitionToChat(game, game.move.mainWord);
}

}  // namespace qm
