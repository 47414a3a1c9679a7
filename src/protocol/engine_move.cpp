#include "protocol/engine_move.h"

#include <cmath>
#include <cstdio>

#include "base/log.h"
#include "base/wire.h"
#include "board/move_text.h"
#include "platform/platform.h"
#include "protocol/game.h"
#include "protocol/illegal_position.h"
#include "protocol/xboard_thinking.h"
#include "search/root_search.h"
#include "search/time_control.h"

namespace zandrell {

namespace {

// At least one integer digit and exactly two decimals.
std::string TwoDecimals(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%.2f", value);
  return text;
}

void SendMove(Engine& e, const std::string& text) { SendLine(e, "move " + text); }

}  // namespace

std::string MoveLogEntry(const std::string& moveText, double elapsed, std::int32_t score,
                         std::int64_t nodes, std::int64_t qnodes, double qnodePercent) {
  std::string entry = "move: " + moveText + "\r\n";
  entry += "(t:" + TwoDecimals(elapsed);
  entry += " s:" + std::to_string(score);
  entry += " n:" + std::to_string(nodes);
  entry += " qn:" + std::to_string(qnodes);
  entry += " q%:" + TwoDecimals(qnodePercent) + ")";
  return entry;
}

void EngineMove(Engine& e) {
  GameState& g = e.game;
  BoardState& b = e.board;
  SearchState& s = e.search;
  if (g.EngineSide != b.WhiteToMove || g.ForceMode || g.GameResult != kGameOn) return;
  if (g.Analyzing) return;
  if (RefuseIllegalPosition(e)) return;

  s.QNodeCount = 0;
  s.NodeCount = 0;
  b.Ply = 0;
  s.MoveStartTime = platform::MonotonicSeconds();

  SearchLimits limits;
  limits.GameClock = true;
  limits.UseBook = true;
  limits.LevelElo = g.LevelElo;
  Move best;
  {
    GameThinking thinking(e);
    best = Think(e, limits, thinking);
  }
  FinishEngineMove(e, best);
}

void FinishEngineMove(Engine& e, const Move& best) {
  GameState& g = e.game;
  BoardState& b = e.board;
  SearchState& s = e.search;
  g.GameResult = s.GameEnd;

  s.MoveElapsed = std::fabs(platform::MonotonicSeconds() - s.MoveStartTime);
  ChargeClock(g, s.MoveElapsed);
  const bool hasMove = best.From != 0;
  const std::string text = hasMove ? MoveToGameText(best) : std::string();

  switch (g.GameResult) {
    case kGameOn:
      // Only a move that the search or the book produced is ever played.
      if (!hasMove) {
        WriteLog(e, "no move found", false, false);
        return;
      }
      // The engine's own repetitions are the root search's to find.
      PlayGameMove(e, best);
      SendMove(e, text);
      g.PonderPending = true;
      break;
    case kWhiteMates:
      if (hasMove) SendMove(e, text);
      SendLine(e, "1-0 {White Mates}");
      break;
    case kBlackMates:
      if (hasMove) SendMove(e, text);
      SendLine(e, "0-1 {Black Mates}");
      break;
    case kDrawByRepetition:
      if (hasMove) SendMove(e, text);
      SendLine(e, "1/2-1/2 {Draw by repetition}");
      break;
    default:
      if (hasMove) SendMove(e, text);
      SendLine(e, b.FiftyCount >= 100 ? "1/2-1/2 {50 Move Rule}" : "1/2-1/2 {Draw}");
      break;
  }

  WriteLog(e,
           MoveLogEntry(hasMove ? text : MoveToText(best), s.MoveElapsed, s.RootScore, s.NodeCount,
                        s.QNodeCount, s.QNodePercent),
           false, false);
}

}  // namespace zandrell
