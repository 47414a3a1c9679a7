#pragma once
// The terms of the tapered evaluation and their weights: each term counts
// something on the board (White's count less Black's) and has a middle-game and
// an endgame weight, blended by the game's phase. The weights are one flat
// table, so that a tuner can treat the evaluation as a sum of counts times
// weights.
#include <array>
#include <cstdint>

namespace zandrell {

// Piece kinds of the terms: pawn, knight, bishop, rook, queen, king.
constexpr int kTermPawn = 0;
constexpr int kTermKnight = 1;
constexpr int kTermBishop = 2;
constexpr int kTermRook = 3;
constexpr int kTermQueen = 4;
constexpr int kTermKing = 5;
constexpr int kTermKinds = 6;

constexpr int kKnightMobilities = 9;
constexpr int kBishopMobilities = 14;
constexpr int kRookMobilities = 15;
constexpr int kQueenMobilities = 28;
// A lone attacker near the king is seldom dangerous, several at once are: the
// attacks of all the side's pieces together, by count, weighed each.
constexpr int kKingAttackTotals = 8;

// Where each group of terms begins in the weight table.
enum : int {
  kTermMaterial = 0,                                    // by kind, pawn to queen
  kTermSquare = kTermMaterial + 5,                      // by kind and square (White's view, a1 = 0)
  kTermKnightMobility = kTermSquare + kTermKinds * 64,  // by squares reached
  kTermBishopMobility = kTermKnightMobility + kKnightMobilities,
  kTermRookMobility = kTermBishopMobility + kBishopMobilities,
  kTermQueenMobility = kTermRookMobility + kRookMobilities,
  kTermPassedPawn = kTermQueenMobility + kQueenMobilities,  // by rank, White's view
  kTermPassedFreePath = kTermPassedPawn + 8,                // by rank, nothing in front
  kTermDoubledPawn = kTermPassedFreePath + 8,
  kTermIsolatedPawn,
  kTermBackwardPawn,
  kTermConnectedPawn,
  kTermBishopPair,
  kTermRookOpenFile,
  kTermRookHalfOpenFile,
  kTermKingShield,      // own pawns in front of the king, one or two ranks ahead
  kTermKingOpenFile,    // files at and beside the king without an own pawn
  kTermKingZoneAttack,  // by attacking kind, knight to queen: squares around the king attacked
  kTermTempo = kTermKingZoneAttack + 4,
  kTermPassedOwnKing,    // by passed pawn: its own king's distance to the square ahead
  kTermPassedEnemyKing,  // the same for the enemy king
  kTermPawnThreat,       // by kind, knight to queen: the piece stands where an enemy pawn attacks
  kTermKingAttackTotal =
      kTermPawnThreat + 4,  // by the squares near the enemy king all pieces attack
  kTermCount = kTermKingAttackTotal + kKingAttackTotals,
};

struct TermWeight {
  std::int16_t Mg = 0;
  std::int16_t Eg = 0;
};

using TaperedWeights = std::array<TermWeight, kTermCount>;

// Phase units of the pieces left (knight and bishop 1, rook 2, queen 4): 24 is
// the full middle game, 0 a pawn ending.
constexpr int kFullPhase = 24;

// The weights the engine plays with.
extern const TaperedWeights kTaperedWeights;

}  // namespace zandrell
