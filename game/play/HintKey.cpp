#include "game/play/HintKey.hpp"

#include <algorithm>
#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "engine/Files.hpp"
#include "engine/Input.hpp"
#include "engine/Screen.hpp"
#include "engine/Text.hpp"
#include "game/play/Board.hpp"
#include "game/play/HexGrid.hpp"
#include "game/play/KeyboardPlay.hpp"
#include "game/play/PlayCommon.hpp"
#include "game/play/Render.hpp"
#include "game/rules/Describe.hpp"
#include "game/rules/Dictionary.hpp"
#include "game/rules/Easel.hpp"
#include "game/rules/Hint.hpp"
#include "game/rules/Records.hpp"

namespace qm {

namespace {

constexpr int kHintAlpha = 150;
constexpr uint8_t kGameSpeaker = 8;

// One search on its own thread. It owns a copy of the GameState and touches nothing else:
// no engine call, no file slot, no random number, so the frame loop goes on untouched.
struct HintJob {
  uint32_t id = 0;
  std::unique_ptr<GameState> state;
  std::string dictionaryFolder;            // host folder, resolved by the game thread
  std::shared_ptr<const Lexicon> lexicon;  // null: the job loads it
  Hint answer;
  std::atomic<bool> done{false};
};

class HintWorker {
 public:
  ~HintWorker() { Join(); }

  bool Idle() const { return job_ == nullptr; }

  void Start(std::unique_ptr<HintJob> job) {
    Join();
    job_ = std::move(job);
    thread_ = std::thread(Run, job_.get());
  }

  // The finished job, or null while it still runs.
  std::unique_ptr<HintJob> TakeFinished() {
    if (job_ == nullptr || !job_->done.load(std::memory_order_acquire)) return nullptr;
    Join();
    return std::move(job_);
  }

 private:
  static void Run(HintJob* job) {
    if (job->lexicon == nullptr) {
      auto loaded = std::make_shared<Lexicon>();
      if (loaded->Load(job->dictionaryFolder)) job->lexicon = std::move(loaded);
    }
    if (job->lexicon != nullptr) job->answer = FindHint(*job->state, *job->lexicon);
    job->done.store(true, std::memory_order_release);
  }

  void Join() {
    if (thread_.joinable()) thread_.join();
  }

  std::unique_ptr<HintJob> job_;
  std::thread thread_;
};

// The search outlives a level (a restart drops its answer by the job number) and the
// dictionary's letter tree is kept for the whole run once it has been built.
HintWorker gWorker;
uint32_t gLastJobId = 0;
std::shared_ptr<const Lexicon> gLexicon;
std::string gLexiconFolder;

void StartSearch(GameState& game) {
  auto job = std::make_unique<HintJob>();
  job->id = ++gLastJobId;
  if (job->id == 0) job->id = ++gLastJobId;  // 0 means none
  job->state = std::make_unique<GameState>(game);
  job->dictionaryFolder = HostPath("dico-english");
  if (gLexicon != nullptr && gLexiconFolder == job->dictionaryFolder) job->lexicon = gLexicon;
  game.hint.pendingJob = job->id;
  game.hint.requested = false;
  gWorker.Start(std::move(job));
}

void PushHintToChat(GameState& game, const std::string& text, uint32_t now) {
  PushChatLine(game, ChatLine{text, kGameSpeaker, static_cast<int32_t>(now)});
}

void ShowAnswer(GameState& game, const Hint& answer, uint32_t now) {
  HintState& hint = game.hint;
  if (!answer.found) {
    ShowStatusLine(game, " Hint: no word found ");  // costs nothing
    return;
  }
  std::string word = UpperCaseText(answer.word);
  std::string offer = word + " for " + DecimalText(answer.points) + " pts";
  ShowStatusLine(game, " Hint: " + offer + " ");
  ++hint.used;
  NoteHintUsed(game);
  PushHintToChat(game, "Hint " + DecimalText(hint.used) + " in this level: " + offer, now);
  hint.pieces.clear();
  for (const Placement& p : answer.pieces) {
    hint.pieces.push_back(
        HintPiece{static_cast<int16_t>(p.column), static_cast<int16_t>(p.row), p.code});
  }
  hint.shownAt = std::max<uint32_t>(now, 1);
}

// The Board and the Easel the player has to play from, their Pieces of this turn taken back.
bool SameTurn(GameState& asked, const GameState& now) {
  auto current = std::make_unique<GameState>(now);
  TakeBackForHint(asked);
  TakeBackForHint(*current);
  auto pieces = [](const EaselState& easel) {
    const int n = std::clamp<int>(easel.slots[0], 0, kMaxEaselSlots);
    std::vector<int16_t> codes(easel.slots.begin() + 1, easel.slots.begin() + 1 + n);
    std::sort(codes.begin(), codes.end());
    return codes;
  };
  return asked.board.cells == current->board.cells && pieces(asked.easel) == pieces(current->easel);
}

}  // namespace

bool LayHintPieces(GameState& game) {
  HintState& hint = game.hint;
  if (hint.shownAt == 0 || hint.pieces.empty() || game.play.endTick != 0 ||
      game.play.exchange.activeToken != 0)
    return false;
  // The hint was found with this turn's Pieces taken back: they go back first.
  if (LaidPieceCount(game.easel) > 0) ReturnLaidPieces(game);
  bool laid = false;
  for (const HintPiece& p : hint.pieces) {
    int slot = 0;
    for (int k = 1; k <= game.easel.slots[0] && k <= kMaxEaselSlots && slot == 0; ++k) {
      if (game.easel.slots[k] == p.code) slot = k;
    }
    if (slot != 0 && LayPiece(game, slot, p.column, p.row)) laid = true;
  }
  if (laid) PlayClick(kClickDrop);
  DrawEasel(game);
  hint.shownAt = 0;
  hint.pieces.clear();
  return true;
}

void HandleHintKey(GameState& game, uint32_t now) {
  HintState& hint = game.hint;
  if (KeyDownOrTapped(kKeyF1)) {
    // Pressed again while a hint is shown: its Pieces are laid, as if dragged there.
    if (hint.keyLatch == 0 && !LayHintPieces(game) && game.play.endTick == 0 &&
        hint.pendingJob == 0)
      hint.requested = true;
    hint.keyLatch = 1;
  } else {
    hint.keyLatch = 0;
  }
  if (std::unique_ptr<HintJob> job = gWorker.TakeFinished()) {
    if (job->lexicon != nullptr) {
      gLexicon = job->lexicon;
      gLexiconFolder = job->dictionaryFolder;
    }
    if (job->id == hint.pendingJob) {
      hint.pendingJob = 0;
      // A move accepted or an exchange made meanwhile: the answer is for another turn.
      if (game.play.endTick == 0) {
        if (SameTurn(*job->state, game)) {
          ShowAnswer(game, job->answer, now);
        } else {
          hint.requested = true;
        }
      }
    }
  }
  if (hint.requested && gWorker.Idle()) StartSearch(game);
  if (hint.shownAt != 0 && now - hint.shownAt >= kHintShownMs) {
    hint.shownAt = 0;
    hint.pieces.clear();
  }
}

void DrawHintPieces(const GameState& game, uint32_t now) {
  const HintState& hint = game.hint;
  if (hint.shownAt == 0 || now - hint.shownAt >= kHintShownMs) return;
  for (const HintPiece& p : hint.pieces) {
    // A Cell the player has covered since keeps their Piece in plain view.
    if (!IsOnBoard(game.board, p.column, p.row) ||
        !AcceptsPiece(CellCode(game.board, p.column, p.row)))
      continue;
    int x = 0, y = 0;
    CellToScreen(game.board, p.column, p.row, x, y);
    DrawSpriteFaded(p.code, x, y, kHintAlpha);
  }
}

bool HintSearchPending(const GameState& game) {
  return game.hint.requested || game.hint.pendingJob != 0;
}

}  // namespace qm
