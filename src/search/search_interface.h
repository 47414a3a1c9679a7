#pragma once
// How a caller drives a think: what ends it, and who hears about its progress.
// The search sends nothing itself; xboard and UCI are two callers of it.
#include <cstdint>
#include <vector>

#include "board/types.h"
#include "engine/engine.h"
#include "search/time_budget.h"

namespace zandrell {

struct SearchLimits {
  // The engine's move in a game: the game's time control decides (the allotment
  // and the clock's hard limit, or the fixed depth of "sd"), and the think
  // charges the time bank. The fields below are then not read.
  bool GameClock = false;
  // A book move, when the book has one, before any search.
  bool UseBook = false;
  int Depth = 0;           // at most this many iterations; 0: no limit
  double MoveTime = 0.0;   // seconds from the start; 0: no limit
  std::int64_t Nodes = 0;  // 0: no limit
  // A time budget from the caller's own clock, as UCI has the interface's
  // times (a Maximum of 0: none): no iteration starts past a share of the
  // optimum, and none runs past the maximum.
  TimeBudget Budget;
  // The root moves to choose among (empty: every legal move).
  std::vector<Move> RootMoves;
  // How many best lines each iteration reports: line k is the best of the root
  // moves that the lines before it did not take. 1: the best move alone.
  int Lines = 1;
  // A playing level in Elo below full strength (search/playing_level.h), read
  // with the game's clock too; 0: full strength.
  int LevelElo = 0;
};
// With none of them set the think goes on until it is stopped.

// One report: the root's best move so far and its line.
struct SearchReport {
  int Depth = 0;
  std::int32_t Score = 0;
  double Elapsed = 0.0;  // seconds
  std::int64_t Nodes = 0;
  const Move* Pv = nullptr;  // Pv[0] is the best root move
  int PvLength = 0;
  int Line = 1;  // 1 for the best line, k for the k-th best
};

class SearchReporter {
 public:
  virtual ~SearchReporter() = default;
  // The book's move was chosen; nothing is searched.
  virtual void BookMove(const Move&) {}
  // A root move better than those before it, during an iteration. Elapsed counts
  // from SearchState::MoveStartTime.
  virtual void NewBest(const SearchReport&) {}
  // An iteration completed (or the first, whatever stopped it). Elapsed counts
  // from the start of the search.
  virtual void IterationDone(const SearchReport&) {}
  // Called now and then while searching: look at the input, and call RequestStop
  // to end the think with the best move found so far.
  virtual void CheckInput() {}
};

// Ends the current think at the next check; the finished iterations' move stands.
inline void RequestStop(SearchState& s) { s.StopRequested = true; }

// The nodes of the think so far, its helper threads' included.
std::int64_t NodesSearched(const SearchState& s);

// The report of the root's current line.
SearchReport RootReport(const SearchState& s, double elapsed);

}  // namespace zandrell
