#include "protocol/uci_go.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <thread>
#include <vector>

#include "base/log.h"
#include "base/numeric.h"
#include "base/wire.h"
#include "board/attacks.h"
#include "board/legal_move.h"
#include "board/make_move.h"
#include "board/move_text.h"
#include "board/movegen.h"
#include "platform/platform.h"
#include "protocol/engine_move.h"
#include "protocol/game.h"
#include "protocol/shown_line.h"
#include "protocol/thinking_input.h"
#include "protocol/uci_position.h"
#include "protocol/uci_text.h"
#include "search/alpha_beta.h"
#include "search/root_search.h"
#include "search/think_clock.h"
#include "search/time_budget.h"

namespace zandrell {

namespace {

// What "go" asked for; times in milliseconds, a negative clock: not given.
struct GoRequest {
  bool Infinite = false;
  bool Ponder = false;
  double Time[2] = {-1.0, -1.0};  // White, Black
  double Increment[2] = {0.0, 0.0};
  int MovesToGo = 0;
  int Depth = 0;
  int Mate = 0;  // moves
  std::int64_t Nodes = 0;
  double MoveTime = 0.0;
  std::vector<std::string> SearchMoves;
};

// The largest time, in milliseconds, a field of "go" may give (over eleven
// days); larger numbers are read as it, so the clock's arithmetic stays finite.
constexpr double kMaxFieldMs = 1e9;
constexpr double kMaxNodes = 1e15;
constexpr double kMaxMovesToGo = 1000;

GoRequest ParseGo(std::string_view args) {
  GoRequest go;
  const std::vector<std::string_view> words = UciWords(args);
  for (std::size_t i = 0; i < words.size(); ++i) {
    const std::string_view word = words[i];
    // Every number is clamped where it is read, before any arithmetic.
    auto number = [&](double high) {
      return i + 1 < words.size() ? NumericValueIn(words[++i], 0.0, high) : 0.0;
    };
    if (word == "infinite") {
      go.Infinite = true;
    } else if (word == "ponder") {
      go.Ponder = true;
    } else if (word == "wtime") {
      go.Time[0] = number(kMaxFieldMs);
    } else if (word == "btime") {
      go.Time[1] = number(kMaxFieldMs);
    } else if (word == "winc") {
      go.Increment[0] = number(kMaxFieldMs);
    } else if (word == "binc") {
      go.Increment[1] = number(kMaxFieldMs);
    } else if (word == "movestogo") {
      go.MovesToGo = ToInteger32(number(kMaxMovesToGo));
    } else if (word == "depth") {
      go.Depth = ToInteger32(number(kMaxSearchDepth));
    } else if (word == "mate") {
      go.Mate = ToInteger32(number(kMaxSearchDepth / 2));
    } else if (word == "nodes") {
      go.Nodes = static_cast<std::int64_t>(number(kMaxNodes));
    } else if (word == "movetime") {
      go.MoveTime = number(kMaxFieldMs);
    } else if (word == "searchmoves") {
      // The moves run to the end of the line or the next keyword.
      while (i + 1 < words.size() && words[i + 1].size() >= 4 && words[i + 1].size() <= 5 &&
             words[i + 1][1] >= '1' && words[i + 1][1] <= '8') {
        go.SearchMoves.emplace_back(words[++i]);
      }
    }
    // Anything unknown: searched as without it.
  }
  return go;
}

// The side to move's clock as the time budget reads it.
ClockReading ClockOf(const Engine& e, const GoRequest& go) {
  const int own = e.board.WhiteToMove ? 0 : 1;
  ClockReading c;
  c.TimeLeft = go.Time[own] / 1000.0;
  c.Increment = go.Increment[own] / 1000.0;
  c.MovesToGo = go.MovesToGo;
  c.OpponentTime = go.Time[1 - own] >= 0.0 ? go.Time[1 - own] / 1000.0 : -1.0;
  c.Overhead = e.uci.MoveOverheadMs / 1000.0;
  return c;
}

bool HasClock(const Engine& e, const GoRequest& go) {
  return go.Time[e.board.WhiteToMove ? 0 : 1] >= 0.0;
}

SearchLimits LimitsOf(Engine& e, const GoRequest& go) {
  SearchLimits limits;
  limits.Lines = e.uci.Lines;
  limits.UseBook = e.uci.OwnBook && go.SearchMoves.empty() && limits.Lines == 1 && !go.Infinite;
  for (const std::string& text : go.SearchMoves) {
    Move m{};
    if (FindLegalMove(e.board, text, m)) limits.RootMoves.push_back(m);
  }
  limits.Depth = go.Depth;
  // A mate in N moves lies 2N - 1 plies deep; one ply more lets the search see
  // that the mated side has no move. The think ends sooner when it finds one.
  if (go.Mate > 0 && (limits.Depth == 0 || limits.Depth > 2 * go.Mate)) {
    limits.Depth = std::min(2 * go.Mate, kMaxSearchDepth);
  }
  limits.Nodes = go.Nodes;
  // Analysis sees at full strength; a move to play, pondered too, at the level.
  if (!go.Infinite) limits.LevelElo = e.game.LevelElo;
  // Pondering and analysis run on no clock until they are stopped (or hit); a
  // depth or node limit may end them sooner, and "bestmove" still waits.
  if (go.Infinite || go.Ponder) return limits;
  if (HasClock(e, go)) limits.Budget = PlanTime(ClockOf(e, go));
  if (go.MoveTime > 0.0) {
    limits.MoveTime = std::max(0.001, (go.MoveTime - e.uci.MoveOverheadMs) / 1000.0);
  }
  return limits;
}

bool IsMate(std::int32_t score) { return std::abs(score) >= kMateScore - kMaxPly; }

long long Milliseconds(double seconds) { return std::llround(std::fabs(seconds) * 1000.0); }

std::string InfoLine(const SearchReport& r, const UciState& u) {
  const long long time = Milliseconds(r.Elapsed);
  std::string line = "info depth " + std::to_string(r.Depth);
  // The deepest ply the line shows; the search keeps no other count of it.
  line += " seldepth " + std::to_string(std::max(r.Depth, r.PvLength));
  if (u.Lines > 1) line += " multipv " + std::to_string(r.Line);
  line += " " + UciScore(r.Score);
  if (u.ShowWdl) line += " " + WdlText(r.Score);
  line += " nodes " + std::to_string(r.Nodes);
  line += " nps " + std::to_string(r.Nodes * 1000 / std::max(1LL, time));
  line += " time " + std::to_string(time);
  if (r.PvLength > 0 && r.Pv != nullptr) {
    line += " pv";
    for (int k = 0; k < r.PvLength; ++k) line += " " + MoveToText(r.Pv[k]);
  }
  return line;
}

std::string ResultText(const BoardState& b, std::int32_t end) {
  switch (end) {
    case kWhiteMates: return "1-0 {White Mates}";
    case kBlackMates: return "0-1 {Black Mates}";
    case kDrawByRepetition: return "1/2-1/2 {Draw by repetition}";
    default: return b.FiftyCount >= 100 ? "1/2-1/2 {50 Move Rule}" : "1/2-1/2 {Draw}";
  }
}

bool IsLine(std::string_view line, std::string_view command) { return TrimBlanks(line) == command; }

// The think's ear and mouth: "info" for every finished iteration, and the
// commands that act while it runs.
class UciThinking : public SearchReporter {
 public:
  UciThinking(Engine& e, const GoRequest& go, std::deque<std::string>& queued)
      : e_(e),
        input_(e),
        queued_(queued),
        holdBestMove_(go.Infinite || go.Ponder),
        pondering_(go.Ponder),
        hasClock_(HasClock(e, go)),
        mate_(go.Mate),
        clock_(ClockOf(e, go)),
        root_(LineRootOf(e)) {}

  void BookMove(const Move&) override { SendBareLine(e_, "info string book move"); }

  void IterationDone(const SearchReport& found) override {
    const SearchReport r = PlayableReport(root_, found);
    SendBareLine(e_, InfoLine(r, e_.uci));
    // "go mate N": a mate in N moves or fewer ends the think.
    if (mate_ > 0 && r.Line == 1 && r.Score >= kMateScore - 2 * mate_) Release();
    if (e_.shell.LogPV && r.Line == 1) WriteLog(e_, "      " + ThinkingLine(r), false, false);
    if (r.Line != 1) return;
    last_ = r;
    lastLine_.assign(r.Pv, r.Pv + std::max(0, r.PvLength));
    last_.Pv = lastLine_.data();
  }

  void CheckInput() override {
    TakeInput();
    if (input_.Ended()) Release();
  }

  // After the think: "bestmove" waits for "stop" or "ponderhit" when the think
  // was to go on until one came; isready is still answered meanwhile.
  void WaitWhileHeld() {
    while (holdBestMove_) {
      TakeInput();
      if (!holdBestMove_ || input_.Ended() || platform::TerminationRequested()) return;
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
  }

  // The last finished iteration's best line, with the think's totals.
  bool HasReport() const { return last_.Depth > 0; }
  // A line cut short before its first move, or one of another move, is shown
  // as the move alone.
  SearchReport FinalReport(const Move& best) {
    if (lastLine_.empty() || !SameMove(lastLine_.front(), best)) lastLine_.assign(1, best);
    SearchReport r = last_;
    r.Pv = lastLine_.data();
    r.PvLength = static_cast<int>(lastLine_.size());
    r.Nodes = e_.search.NodeCount;
    r.Elapsed = platform::MonotonicSeconds() - e_.search.MoveStartTime;
    return r;
  }
  bool Pondering() const { return pondering_; }
  // The move the final line expects in reply, when it has one.
  std::string PonderText() const {
    return lastLine_.size() >= 2 ? MoveToText(lastLine_[1]) : std::string();
  }

 private:
  void TakeInput() {
    // Lines that came with "go" first, then what arrives.
    while (!queued_.empty() && Watch(queued_.front()) == LineUse::kAnswered) queued_.pop_front();
    input_.Take([&](std::string_view line) { return Watch(line); });
    if (e_.search.StopRequested) return;
    LookForRelease(queued_);
    if (input_.KeptAny()) LookForReleaseIn(e_.shell.HeldInput);
  }

  LineUse Watch(std::string_view line) {
    if (IsLine(line, "isready")) {
      SendBareLine(e_, "readyok");
      return LineUse::kAnswered;
    }
    if (IsLine(line, "stop")) {
      Release();
      return LineUse::kAnswered;
    }
    if (IsLine(line, "ponderhit")) {
      PonderHit();
      return LineUse::kAnswered;
    }
    if (IsLine(line, "quit")) Release();
    return LineUse::kKeep;
  }

  // Behind a line kept for later, "stop", "ponderhit" and "quit" still end the
  // think (they stay in place and do nothing more when handled later).
  void LookForRelease(std::string_view line) {
    if (IsLine(line, "stop") || IsLine(line, "quit")) Release();
    if (IsLine(line, "ponderhit")) PonderHit();
  }
  void LookForRelease(const std::deque<std::string>& lines) {
    for (const std::string& line : lines) LookForRelease(std::string_view(line));
  }
  void LookForReleaseIn(const std::string& held) {
    std::size_t start = 0;
    for (std::size_t end; (end = held.find('\n', start)) != std::string::npos; start = end + 1) {
      LookForRelease(std::string_view(held).substr(start, end - start));
    }
  }

  void Release() {
    holdBestMove_ = false;
    RequestStop(e_.search);
  }

  void PonderHit() {
    if (!pondering_) return;
    pondering_ = false;
    holdBestMove_ = false;
    // The opponent played the expected move: the game as given stands.
    LogUciGame(e_);
    if (hasClock_) PutThinkOnBudget(e_, PlanTime(clock_));
  }

  Engine& e_;
  ThinkingInput input_;
  std::deque<std::string>& queued_;
  bool holdBestMove_;
  bool pondering_;
  bool hasClock_;
  int mate_;
  ClockReading clock_;
  LineRoot root_;
  SearchReport last_;
  std::vector<Move> lastLine_;
};

}  // namespace

std::string UciScore(std::int32_t score) {
  if (!IsMate(score)) return "score cp " + std::to_string(score);
  // Plies from the root to the mate; the mated side's plies are the even ones.
  const int plies = kMateScore - std::abs(score) - 1;
  const int moves = score > 0 ? (plies + 1) / 2 : -(plies / 2);
  return "score mate " + std::to_string(moves);
}

std::string WdlText(std::int32_t score) {
  int win;
  int loss;
  if (IsMate(score)) {
    win = score > 0 ? 1000 : 0;
    loss = score > 0 ? 0 : 1000;
  } else {
    // Two logistic curves in the score: even positions are mostly drawn, and a
    // win (loss) grows likely past about a minor piece's advantage.
    constexpr double kMidpoint = 150.0;
    constexpr double kSpread = 60.0;
    const auto chance = [&](double centipawns) {
      return static_cast<int>(
          std::lround(1000.0 / (1.0 + std::exp((kMidpoint - centipawns) / kSpread))));
    };
    win = chance(score);
    loss = chance(-static_cast<double>(score));
  }
  const int draw = std::max(0, 1000 - win - loss);
  return "wdl " + std::to_string(win) + " " + std::to_string(draw) + " " +
         std::to_string(1000 - win - draw);
}

void UciGo(Engine& e, std::string_view args, std::deque<std::string>& queued) {
  const GoRequest go = ParseGo(args);
  SearchState& s = e.search;
  BoardState& b = e.board;
  // With the last position refused there is nothing to think about: the stale
  // position is not searched, and "bestmove" names no move.
  const bool refused = e.uci.PositionRefused;
  if (refused) SendBareLine(e, "info string no position to search");
  if (MatchSearchToVariant(e)) {
    SendBareLine(e, "info string Chess960 plays with the hash table: Hash " +
                        std::to_string(e.uci.HashMegabytes));
  }
  const SearchLimits limits = LimitsOf(e, go);
  if (!go.Ponder && !refused) LogUciGame(e);

  s.QNodeCount = 0;
  s.NodeCount = 0;
  b.Ply = 0;
  s.MoveStartTime = platform::MonotonicSeconds();
  UciThinking thinking(e, go, queued);
  const bool anyMove = !refused && HasLegalMove(b);
  Move best = kNoMove;
  s.GameEnd = kGameOn;
  if (anyMove) best = Think(e, limits, thinking);
  thinking.WaitWhileHeld();
  // A stopped ponder search's move is thrown away by the interface; only a move
  // the engine plays goes to the log.
  const bool played = !thinking.Pondering();

  if (refused) {
    SendBareLine(e, "bestmove 0000");
    return;
  }
  if (!anyMove) {
    SendBareLine(e, InCheck(b) ? "info depth 0 score mate 0" : "info depth 0 score cp 0");
    SendBareLine(e, "bestmove 0000");
    const std::int32_t end = !InCheck(b) ? kDrawn : (b.WhiteToMove ? kBlackMates : kWhiteMates);
    if (played) WriteLog(e, ResultText(b, end), false, false);
    return;
  }
  const std::string text = MoveToText(best);
  // bestmove repeats the first move of the line sent last; the ponder move is its
  // second, legal after it by the line's cut. The score logged is that line's:
  // the plain search's RootScore may hold a cut-short iteration's.
  std::int32_t score = s.RootScore;
  std::string ponder;
  if (thinking.HasReport()) {
    const SearchReport last = thinking.FinalReport(best);
    score = last.Score;
    SendBareLine(e, InfoLine(last, e.uci));
    ponder = thinking.PonderText();
  }
  SendBareLine(e, "bestmove " + text + (ponder.empty() ? "" : " ponder " + ponder));
  if (!played) return;
  const double elapsed = std::fabs(platform::MonotonicSeconds() - s.MoveStartTime);
  WriteLog(e, MoveLogEntry(text, elapsed, score, s.NodeCount, s.QNodeCount, s.QNodePercent), false,
           false);
  if (e.uci.LoggedMoves == e.uci.Moves) e.uci.LoggedMoves.push_back(text);
  if (s.GameEnd != kGameOn) WriteLog(e, ResultText(b, s.GameEnd), false, false);
}

}  // namespace zandrell
