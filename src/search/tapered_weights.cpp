#include "search/tapered_terms.h"

namespace zandrell {

namespace {

constexpr int Centrality(int square) {  // 0 at the corners .. 6 in the centre
  const int file = square % 8;
  const int rank = square / 8;
  const int fileDistance = file < 4 ? 3 - file : file - 4;
  const int rankDistance = rank < 4 ? 3 - rank : rank - 4;
  return 6 - fileDistance - rankDistance;
}

constexpr TermWeight W(int mg, int eg) {
  return TermWeight{static_cast<std::int16_t>(mg), static_cast<std::int16_t>(eg)};
}

// Starting weights before tuning: round figures of the usual kind.
constexpr TaperedWeights StartingWeights() {
  TaperedWeights w{};
  w[kTermMaterial + kTermPawn] = W(80, 100);
  w[kTermMaterial + kTermKnight] = W(320, 300);
  w[kTermMaterial + kTermBishop] = W(330, 310);
  w[kTermMaterial + kTermRook] = W(460, 520);
  w[kTermMaterial + kTermQueen] = W(950, 950);
  for (int square = 0; square < 64; ++square) {
    const int rank = square / 8;
    const int file = square % 8;
    const int centre = Centrality(square);
    const bool centreFile = file == 3 || file == 4;
    w[kTermSquare + kTermPawn * 64 + square] =
        rank == 0 || rank == 7 ? W(0, 0) : W((rank - 1) * (centreFile ? 6 : 3), (rank - 1) * 8);
    w[kTermSquare + kTermKnight * 64 + square] = W(centre * 8 - 20, centre * 5 - 15);
    w[kTermSquare + kTermBishop * 64 + square] = W(centre * 4 - 10, centre * 3 - 9);
    w[kTermSquare + kTermRook * 64 + square] = W(rank == 6 ? 15 : 0, 0);
    w[kTermSquare + kTermQueen * 64 + square] = W(centre * 2 - 5, centre * 4 - 12);
    const bool shelter = rank == 0 && (file <= 2 || file >= 6);
    w[kTermSquare + kTermKing * 64 + square] = W(shelter ? 20 : -10 * rank, centre * 8 - 24);
  }
  for (int n = 0; n < kKnightMobilities; ++n)
    w[kTermKnightMobility + n] = W(4 * (n - 4), 4 * (n - 4));
  for (int n = 0; n < kBishopMobilities; ++n)
    w[kTermBishopMobility + n] = W(4 * (n - 6), 4 * (n - 6));
  for (int n = 0; n < kRookMobilities; ++n) w[kTermRookMobility + n] = W(2 * (n - 7), 4 * (n - 7));
  for (int n = 0; n < kQueenMobilities; ++n) w[kTermQueenMobility + n] = W(n - 13, 2 * (n - 13));
  constexpr int kPassedMg[8] = {0, 5, 10, 15, 25, 40, 60, 0};
  constexpr int kPassedEg[8] = {0, 10, 15, 25, 45, 70, 110, 0};
  for (int rank = 0; rank < 8; ++rank) {
    w[kTermPassedPawn + rank] = W(kPassedMg[rank], kPassedEg[rank]);
    w[kTermPassedFreePath + rank] = W(0, kPassedEg[rank] / 3);
  }
  w[kTermDoubledPawn] = W(-10, -20);
  w[kTermIsolatedPawn] = W(-10, -12);
  w[kTermBackwardPawn] = W(-8, -8);
  w[kTermConnectedPawn] = W(6, 8);
  w[kTermBishopPair] = W(30, 50);
  w[kTermRookOpenFile] = W(25, 10);
  w[kTermRookHalfOpenFile] = W(12, 6);
  w[kTermKingShield] = W(12, 0);
  w[kTermKingOpenFile] = W(-15, 0);
  w[kTermKingZoneAttack + 0] = W(8, 0);
  w[kTermKingZoneAttack + 1] = W(6, 0);
  w[kTermKingZoneAttack + 2] = W(8, 0);
  w[kTermKingZoneAttack + 3] = W(12, 0);
  w[kTermTempo] = W(15, 5);
  w[kTermPassedOwnKing] = W(0, -5);
  w[kTermPassedEnemyKing] = W(0, 10);
  return w;
}

}  // namespace

constexpr TaperedWeights kStartingWeights = StartingWeights();
const TaperedWeights kTaperedWeights = kStartingWeights;

}  // namespace zandrell
