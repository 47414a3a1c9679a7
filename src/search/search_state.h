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

// Evaluation terms of single pieces, summed over the pieces of a position.
struct PieceTerms {
  // Material, square values, undeveloped minors and rooks on the seventh rank,
  // from White's point of view.
  std::int32_t Material;
  // Queens off their home square: white in the low 16 bits, black in the high.
  std::uint32_t QueensAway;
  // Pawns and rooks per file in four-bit counts (file a lowest), white files in
  // bits 0..31 and black in 32..63.
  std::uint64_t PawnFiles;
  std::uint64_t RookFiles;
};

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
  // built with the phase tables (a rook's includes its seventh-rank bonus).
  std::int32_t PieceSquareScore[13][kSquareCount];
  // The piece terms of the position being searched, kept up to date move by
  // move by the search.
  PieceTerms Terms;
  // Position text reached by each legal root move, filled once per think.
  std::vector<std::pair<Move, std::string>> RootTexts;
};

}  // namespace zandrell
