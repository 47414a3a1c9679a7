#pragma once
// State of the search: principal variation, killers, history, counters and the
// clock of the current move, and the phase-dependent evaluation tables.
#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "board/types.h"
#include "search/limits.h"
#include "tables/constants.h"

namespace zandrell {

constexpr std::int32_t kMateScore = 100000;

// Copied into KillerScore at the start of every think and every iteration.
inline constexpr std::array<std::int32_t, kMaxPly> KillerScoreReset = [] {
  std::array<std::int32_t, kMaxPly> reset{};
  reset.fill(-kMateScore);
  return reset;
}();

struct SearchState {
  int PvLength[kMaxPly];
  Move PvTable[kMaxPly][kMaxPly];
  Move KillerMove1[kMaxPly];
  Move KillerMove2[kMaxPly];
  std::int32_t KillerScore[kMaxPly];
  std::int32_t HistoryTable[kSquareCount][kSquareCount];
  bool FollowPv;
  bool TimeUp;
  std::int64_t NodeCount;
  std::int64_t QNodeCount;
  int IterationDepth;
  double IterationStartTime;  // monotonic seconds
  double TimeForMove;
  std::int32_t RootScore;
  double QNodePercent;
  double MoveStartTime;  // monotonic seconds
  double MoveElapsed;
  // Phase tables, chosen once per think.
  SquareTable PawnActiveWhite;
  SquareTable PawnActiveBlack;
  SquareTable KingActiveWhite;
  SquareTable KingActiveBlack;
  bool Middlegame;
  // Material plus square value of each piece code from White's point of view,
  // built with the phase tables.
  std::int32_t PieceSquareScore[13][kSquareCount];
  // Sum of the above and the undeveloped-minor terms over the pieces of the
  // position being searched, kept up to date move by move by the search.
  std::int32_t MaterialScore;
  // Position text reached by each legal root move, filled once per think.
  std::vector<std::pair<Move, std::string>> RootTexts;
};

}  // namespace zandrell
