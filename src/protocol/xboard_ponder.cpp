#include "protocol/xboard_ponder.h"

#include <string>
#include <string_view>

#include "base/log.h"
#include "base/wire.h"
#include "board/legal_move.h"
#include "board/move_text.h"
#include "platform/platform.h"
#include "protocol/engine_move.h"
#include "protocol/game.h"
#include "protocol/main_loop.h"
#include "protocol/take_back.h"
#include "protocol/thinking_input.h"
#include "protocol/xboard_thinking.h"
#include "search/hash_table.h"
#include "search/root_search.h"
#include "search/think_clock.h"
#include "search/time_control.h"

namespace zandrell {

namespace {

// The ponder's ear: the expected reply turns it into the engine's own think on
// the budget; clocks, posting and pings are taken as they come; any other line
// ends it and waits for the interpreter.
class PonderThinking : public SearchReporter {
 public:
  PonderThinking(Engine& e, const Move& expected)
      : e_(e),
        input_(e),
        game_(e),
        expected_(MoveToGameText(expected)),
        coordinates_(MoveToText(expected)) {}

  void NewBest(const SearchReport& r) override { game_.NewBest(r); }
  void IterationDone(const SearchReport& r) override { game_.IterationDone(r); }

  void CheckInput() override {
    input_.Take([&](std::string_view line) { return Watch(line); });
    if (input_.Ended()) RequestStop(e_.search);
  }

  bool Hit() const { return hit_; }

 private:
  LineUse Watch(std::string_view line) {
    if (input_.KeptAny()) return LineUse::kKeep;
    if (hit_) {
      // The engine's own think now: as in a game, only these end it early.
      if (line == "?" || line == "quit") RequestStop(e_.search);
      return LineUse::kKeep;
    }
    // A Chess960 castling comes as "O-O", or as the king taking its rook.
    if (line == expected_ || line == "usermove " + expected_ || line == coordinates_ ||
        line == "usermove " + coordinates_) {
      TakeHit();
      return LineUse::kAnswered;
    }
    if (ApplyClockLine(e_, line)) return LineUse::kAnswered;
    if (line == "post" || line == "nopost") {
      e_.game.PostThinking = line == "post";
      return LineUse::kAnswered;
    }
    if (AnswerPingAtOnce(e_, line)) return LineUse::kAnswered;
    RequestStop(e_.search);
    return LineUse::kKeep;
  }

  void TakeHit() {
    hit_ = true;
    WriteLog(e_, "move: " + expected_, false, false);
    // The move's time counts from now, on the clock the interface just sent.
    e_.search.MoveStartTime = platform::MonotonicSeconds();
    PutThinkOnBudget(e_, PlanTime(GameClockReading(e_)));
  }

  Engine& e_;
  ThinkingInput input_;
  GameThinking game_;
  std::string expected_;
  std::string coordinates_;
  bool hit_ = false;
};

}  // namespace

void PonderReply(Engine& e) {
  GameState& g = e.game;
  SearchState& s = e.search;
  BoardState& b = e.board;
  if (!g.PonderPending) return;
  g.PonderPending = false;
  if (!g.Ponder || !HashEnabled(s) || g.ForceMode || g.Analyzing || g.GameResult != kGameOn) return;
  if (g.EngineSide == b.WhiteToMove) return;
  Move reply{};
  const std::string text = s.ExpectedReply.From != 0 ? MoveToText(s.ExpectedReply) : std::string();
  if (text.empty() || !FindLegalMove(b, text, reply)) return;

  // The reply as if it had been played: a third repetition or a position with
  // no move would end the game there, so there is nothing to ponder.
  if (PlayGameMove(e, reply) >= 3 || !HasLegalMove(e.board)) {
    TakeBackMove(e);
    return;
  }
  s.QNodeCount = 0;
  s.NodeCount = 0;
  e.board.Ply = 0;
  s.MoveStartTime = platform::MonotonicSeconds();
  SearchLimits limits;  // no limit: until the reply comes or something else does
  limits.LevelElo = e.game.LevelElo;
  Move best;
  bool hit;
  {
    PonderThinking thinking(e, reply);
    best = Think(e, limits, thinking);
    hit = thinking.Hit();
  }
  if (hit) {
    FinishEngineMove(e, best);
    return;
  }
  // Missed, stopped, or ended by itself before the reply came: as if the engine
  // had not pondered.
  TakeBackMove(e);
  s.ExpectedReply = kNoMove;
}

}  // namespace zandrell
