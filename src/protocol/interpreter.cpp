// The protocol command table and the opponent's moves.
#include <string>
#include <vector>

#include "base/log.h"
#include "base/numeric.h"
#include "base/settings.h"
#include "base/wire.h"
#include "board/legal_move.h"
#include "board/move_text.h"
#include "engine/limits.h"
#include "protocol/analysis.h"
#include "protocol/castling_text.h"
#include "protocol/game.h"
#include "protocol/handshake.h"
#include "protocol/main_loop.h"
#include "protocol/set_up.h"
#include "protocol/startup.h"
#include "protocol/take_back.h"
#include "protocol/thinking_input.h"
#include "protocol/xboard_options.h"
#include "protocol/xboard_thinking.h"
#include "search/hash_table.h"

namespace zandrell {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Characters 2 and 4 are digits, 1 and 3 are not (a missing character is no digit).
bool LooksLikeMove(std::string_view line) {
  auto digitAt = [&](std::size_t position) {
    return position <= line.size() && IsDigit(line[position - 1]);
  };
  return digitAt(2) && digitAt(4) && !digitAt(1) && !digitAt(3);
}

bool StartsWith(std::string_view line, std::string_view prefix) {
  return line.substr(0, prefix.size()) == prefix;
}

// The text from 1-based character position on (empty past the end).
std::string_view From(std::string_view line, std::size_t position) {
  return position - 1 < line.size() ? line.substr(position - 1) : std::string_view{};
}

// Field n (1-based, field 0 is the command) of the line split at single blanks.
std::string_view Field(std::string_view line, std::size_t n) {
  std::size_t start = 0;
  for (std::size_t i = 0; i < n; ++i) {
    std::size_t blank = line.find(' ', start);
    if (blank == std::string_view::npos) return {};
    start = blank + 1;
  }
  std::size_t end = line.find(' ', start);
  return line.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
}

// Clock numbers are read within these bounds (over eleven days either way), so
// the clock's arithmetic stays finite whatever the line says.
constexpr double kClockLimitSeconds = 1e6;

double ClockNumber(std::string_view text, double unitsPerSecond = 1.0) {
  const double limit = kClockLimitSeconds * unitsPerSecond;
  return NumericValueIn(text, -limit, limit);
}

float SecondsFromCentiseconds(std::string_view text) {
  return static_cast<float>(ClockNumber(text, 100.0) / 100.0);
}

void StartClocks(GameState& g) {
  g.MaxDepth = 1000;
  g.OwnTime = static_cast<float>(g.BaseTime);
  g.OpponentTime = g.OwnTime;
}

void SetLevel(GameState& g, std::string_view line) {
  g.MovesPerControl = ToInteger32(NumericValue(Field(line, 1)));
  std::string_view base = Field(line, 2);
  std::size_t colon = base.find(':');
  constexpr double kSecondsPerMinute = 60.0;
  if (colon != std::string_view::npos) {
    g.BaseTime = ToInteger32(ClockNumber(base.substr(0, colon), 1.0 / kSecondsPerMinute) *
                             kSecondsPerMinute);
    g.BaseTime = ToInteger32(g.BaseTime + ClockNumber(base.substr(colon + 1)));
  } else {
    g.BaseTime = ToInteger32(ClockNumber(base, 1.0 / kSecondsPerMinute) * kSecondsPerMinute);
  }
  g.IncrementSeconds = ClockNumber(Field(line, 3));
  g.Increment = ToInteger32(g.IncrementSeconds);
  g.FixedTimePerMove = false;
  StartClocks(g);
}

void HandleMove(Engine& e, std::string_view line) {
  Move legal{};
  // Testing makes and unmakes on the game board, which is put back exactly.
  const bool castling = FindCastlingMove(e.board, line, legal);
  if (!castling && !FindLegalMove(e.board, line, legal)) {
    SendLine(e, "Illegal move: " + std::string(line));
    WriteLog(e, "Illegal move: " + std::string(line), false, false);
    return;
  }
  Move m{};
  if (castling) {
    m.From = legal.From;
    m.To = legal.To;
  } else {
    m.From = static_cast<std::uint8_t>(RankValue(line.substr(1, 1)) + FileValue(line.substr(0, 1)));
    m.To = static_cast<std::uint8_t>(RankValue(line.substr(3, 1)) + FileValue(line.substr(2, 1)));
  }
  m.EnPassant = legal.EnPassant;
  m.Promotion = legal.Promotion;
  m.Castle = legal.Castle;
  const int count = PlayGameMove(e, m);
  // Analysis looks at positions; it declares no results.
  if (count == 3 && !e.game.Analyzing) {
    e.game.GameResult = kDrawByRepetition;
    SendLine(e, "1/2-1/2 {Draw by repetition}");
  }
  WriteLog(e, "move: " + std::string(line), false, false);
}

// The setting "Hash" turned the table on, not a Chess960 game: the handshake
// offered "cores" and "memory" only then.
bool TableAskedFor(const Engine& e) { return HashEnabled(e.search) && !e.search.HashMadeFor960; }

// Commands of the later protocol versions; anything else is ignored.
void HandleAddedCommand(Engine& e, std::string_view line) {
  if (StartsWith(line, "protover ")) {
    AnswerProtover(e, From(line, 10));
  } else if (line == "ping" || StartsWith(line, "ping ")) {
    AnswerPing(e, From(line, 5));
  } else if (StartsWith(line, "variant ")) {
    SetVariant(e, From(line, 9));
  } else if (StartsWith(line, "setboard ")) {
    SetBoard(e, From(line, 10));
  } else if (line == "setboard") {
    SetBoard(e, {});
  } else if (line == "edit") {
    StartEdit(e);
  } else if (line == "undo") {
    TakeBackMove(e);
  } else if (line == "remove") {
    TakeBackTwoMoves(e);
  } else if (line == "analyze") {
    e.game.Analyzing = true;
    e.game.AnalysisPending = true;
    // A "." read with "analyze" is answered before the think starts.
    StartAnalysisStatus(e);
  } else if (line == "exit") {
    e.game.Analyzing = false;
  } else if (line == ".") {
    if (e.game.Analyzing) SendAnalysisStatus(e);
  } else if (line == "hint") {
    AnswerHint(e);
  } else if (line == "bk") {
    AnswerBookMoves(e);
  } else if (StartsWith(line, "option ") && HashEnabled(e.search)) {
    SetXboardOption(e, From(line, 8));
  } else if (StartsWith(line, "cores ") && TableAskedFor(e)) {
    SetXboardCores(e, From(line, 7));
  } else if (StartsWith(line, "memory ") && TableAskedFor(e)) {
    SetXboardMemory(e, From(line, 8));
  }
  // "accepted" and "rejected" answer our features and need nothing.
}

// Carries out one command line; false after "quit".
bool HandleCommand(Engine& e, std::string_view line) {
  GameState& g = e.game;
  if (line == "xboard" || line == "random" || line == "?") return true;
  if (line == "hard" || line == "easy") {
    g.Ponder = line == "hard";
    return true;
  }
  if (ApplyClockLine(e, line)) return true;
  if (line == "new") {
    NewGame(e);
    g.Chess960 = false;
    MatchSearchToVariant(e);
    WriteLog(e, std::string(20, '='), false, false);
    WriteLog(e, "New Game", true, false);
  } else if (line == "white") {
    e.board.WhiteToMove = true;
    g.EngineSide = false;
  } else if (line == "black") {
    e.board.WhiteToMove = false;
    g.EngineSide = true;
  } else if (line == "force") {
    g.ForceMode = true;
  } else if (line == "go") {
    g.EngineSide = EngineSideAfterGo(e);
    g.ForceMode = false;
  } else if (line == "draw") {
    SendLine(e, "tellics decline");
    SendLine(e, "tellics say Sorry, this program does not accept draws yet.");
  } else if (StartsWith(line, "level")) {
    SetLevel(g, line);
  } else if (StartsWith(line, "st ")) {
    g.MovesPerControl = 1;
    g.FixedTimePerMove = true;
    g.BaseTime = ToInteger32(ClockNumber(From(line, 3)));
    g.Increment = 0;
    g.IncrementSeconds = 0.0;
    StartClocks(g);
  } else if (StartsWith(line, "sd ")) {
    g.MovesPerControl = 0;
    g.FixedTimePerMove = false;
    g.BaseTime = 0;
    g.Increment = 0;
    g.IncrementSeconds = 0.0;
    g.OwnTime = 0;
    g.OpponentTime = 0;
    int depth = ToInteger16(NumericValue(From(line, 3)));
    g.MaxDepth = depth < 1 ? 1 : (depth > kMaxSearchDepth ? kMaxSearchDepth : depth);
  } else if (line == "post") {
    g.PostThinking = true;
  } else if (line == "nopost") {
    g.PostThinking = false;
  } else if (StartsWith(line, "result")) {
    SendLine(e, From(line, 8));
    WriteLog(e, line, false, false);
    WriteLog(e,
             g.OpponentName + " (" + std::to_string(g.OpponentRating) + ") " +
                 (g.OpponentIsComputer ? "True" : "False"),
             false, false);
  } else if (StartsWith(line, "name")) {
    g.OpponentName = std::string(From(line, 6));
  } else if (StartsWith(line, "rating")) {
    g.OpponentRating = ToInteger16(NumericValue(Field(line, 2)));
  } else if (line == "computer") {
    g.OpponentIsComputer = true;
  } else if (line == "allseeks") {
    SendLine(e, "tellics seek " + ReadSetting(e, "Seek1", "5 0 f"));
    SendLine(e, "tellics seek " + ReadSetting(e, "Seek2", "15 5 f"));
  } else if (line == "quit") {
    Shutdown(e);
    return false;
  } else {
    HandleAddedCommand(e, line);
  }
  return true;
}

}  // namespace

bool ApplyClockLine(Engine& e, std::string_view line) {
  if (StartsWith(line, "time")) {
    e.game.OwnTime = SecondsFromCentiseconds(From(line, 5));
  } else if (StartsWith(line, "otim")) {
    e.game.OpponentTime = ClockNumber(From(line, 5), 100.0) / 100.0;
  } else {
    return false;
  }
  return true;
}

void InterpretInput(Engine& e, std::string_view chunk) {
  std::string& pending = e.shell.PendingInput;
  std::size_t start = 0;
  while (!e.shell.Terminated) {
    std::size_t end = chunk.find('\n', start);
    if (end == std::string_view::npos) break;
    std::string line = std::move(pending);
    pending.clear();
    AppendCapped(line, chunk.substr(start, end - start));
    start = end + 1;
    if (line.size() > kLongestLine) continue;  // too long to be a command
    // Interfaces writing text-mode lines end them with CR LF.
    if (!line.empty() && line.back() == '\r') line.pop_back();
    // In analysis every command but these few may change what there is to think about.
    if (e.game.Analyzing && line != "." && line != "hint" && line != "bk") {
      e.game.AnalysisPending = true;
    }
    if (e.edit.Active && line != "quit") {
      EditLine(e, line);
    } else if (LooksLikeMove(line) || (e.board.Chess960 && IsCastlingText(line))) {
      HandleMove(e, line);
    } else if (!HandleCommand(e, line)) {
      return;
    }
  }
  if (e.shell.Terminated) return;
  // Keep the unfinished tail; past the limit only that it is too long matters.
  AppendCapped(pending, chunk.substr(start));
}

}  // namespace zandrell
