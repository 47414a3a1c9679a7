#include "search/evaluate.h"

#include <array>
#include <cstdint>

namespace zandrell {

namespace {

constexpr int kEndgamePieceLimit = 6;  // this many non-pawn pieces or fewer: endgame

constexpr int kBlockedCentrePawn = 4;
constexpr int kIsolatedPawn = 10;
constexpr int kIsolatedOnOpenFile = 20;
constexpr int kPassedBesideRightPawn = 4;
constexpr int kPassedBesideLeftPawn = 6;
constexpr int kPassedBase = 8;
constexpr int kPassedSupported = 30;
constexpr int kUndevelopedKnight = 18;
constexpr int kUndevelopedBishop = 12;
constexpr int kRookOnSeventh = 10;
constexpr int kRookHalfOpenFile = 8;
constexpr int kRookOpenFile = 3;
constexpr int kEarlyQueen = 7;
constexpr int kCastled = 40;
constexpr int kShieldNear = 8;
constexpr int kShieldFar = 4;
constexpr int kKingOpenFile = 15;

// File 1..8 of each playing square (0 elsewhere), without a division.
constexpr std::array<std::int8_t, kSquareCount> kFileOf = [] {
  std::array<std::int8_t, kSquareCount> files{};
  for (int rank = 1; rank <= 8; ++rank)
    for (int file = 1; file <= 8; ++file) files[SquareOf(file, rank)] = static_cast<std::int8_t>(file);
  return files;
}();

// Penalty, from White's point of view, for a minor piece still on a square no
// move has touched.
constexpr std::array<std::int32_t, 13> kUndevelopedScore = {
    0, 0, 0, -kUndevelopedKnight, kUndevelopedKnight, 0, 0, 0, 0, 0, 0, -kUndevelopedBishop,
    kUndevelopedBishop};

constexpr int kWhite = 0;
constexpr int kBlack = 1;

}  // namespace

void SelectPhaseTables(const BoardState& b, const EvalSettings& t, SearchState& s) {
  int pieces = 0;
  for (int slot = 1; slot <= b.PieceCount; ++slot) {
    int sq = b.PieceList[slot];
    if (b.PieceIndex[sq] != 0 && b.Board[sq] != kWhitePawn && b.Board[sq] != kBlackPawn) ++pieces;
  }
  if (pieces <= kEndgamePieceLimit) {
    for (int sq = 0; sq < kSquareCount; ++sq) {
      s.PawnActiveWhite[sq] = static_cast<std::int16_t>(2 * PawnTableWhite[sq]);
      s.PawnActiveBlack[sq] = static_cast<std::int16_t>(2 * PawnTableBlack[sq]);
    }
    s.KingActiveWhite = KingEndTable;
    s.KingActiveBlack = KingEndTable;
    s.Middlegame = false;
  } else {
    s.PawnActiveWhite = PawnTableWhite;
    s.PawnActiveBlack = PawnTableBlack;
    s.KingActiveWhite = KingMiddleTableWhite;
    s.KingActiveBlack = KingMiddleTableBlack;
    s.Middlegame = true;
  }

  for (int sq = 0; sq < kSquareCount; ++sq) {
    auto& v = s.PieceSquareScore;
    v[kBorder][sq] = 0;
    v[kWhitePawn][sq] = t.PawnValue + s.PawnActiveWhite[sq];
    v[kBlackPawn][sq] = -(t.PawnValue + s.PawnActiveBlack[sq]);
    v[kWhiteKnight][sq] = t.KnightValue + KnightTableWhite[sq];
    v[kBlackKnight][sq] = -(t.KnightValue + KnightTableBlack[sq]);
    v[kWhiteKing][sq] = s.KingActiveWhite[sq];
    v[kBlackKing][sq] = -s.KingActiveBlack[sq];
    v[kWhiteRook][sq] = t.RookValue;
    v[kBlackRook][sq] = -t.RookValue;
    v[kWhiteQueen][sq] = t.QueenValue;
    v[kBlackQueen][sq] = -t.QueenValue;
    v[kWhiteBishop][sq] = t.BishopValue + BishopTableWhite[sq];
    v[kBlackBishop][sq] = -(t.BishopValue + BishopTableBlack[sq]);
  }
}

std::int32_t Evaluate(const BoardState& b, const EvalSettings&, const SearchState& s) {
  // Material and square values need no branch; the pieces with further terms are
  // collected by code. A captured piece's slot (square 0, code 0) adds nothing.
  std::uint8_t squares[13][kPieceSlots];
  int counts[13] = {};
  std::int32_t score = 0;
  const int count = b.PieceCount;
  for (int slot = 1; slot <= count; ++slot) {
    const int sq = b.PieceList[slot];
    const int code = b.Board[sq];
    score += s.PieceSquareScore[code][sq];
    score += kUndevelopedScore[code] & -static_cast<std::int32_t>(b.TouchCount[sq] == 0);
    squares[code][counts[code]++] = static_cast<std::uint8_t>(sq);
  }

  // Pawns per file and colour; files 0 and 9 are sentinels holding -1, so they
  // never count as holding a pawn nor as being empty of pawns.
  int pawns[10][2];
  pawns[0][kWhite] = pawns[0][kBlack] = -1;
  pawns[9][kWhite] = pawns[9][kBlack] = -1;
  for (int f = 1; f <= 8; ++f) pawns[f][kWhite] = pawns[f][kBlack] = 0;
  for (int i = 0; i < counts[kWhitePawn]; ++i) ++pawns[kFileOf[squares[kWhitePawn][i]]][kWhite];
  for (int i = 0; i < counts[kBlackPawn]; ++i) ++pawns[kFileOf[squares[kBlackPawn][i]]][kBlack];

  for (int i = 0; i < counts[kWhitePawn]; ++i) {
    const int sq = squares[kWhitePawn][i];
    const int f = kFileOf[sq];
    const int p = s.PawnActiveWhite[sq];
    if ((sq == 41 || sq == 42) && b.Board[sq + 12] < kEmpty) score -= kBlockedCentrePawn;
    const bool isolated = !(pawns[f - 1][kWhite] >= 1) && !(pawns[f + 1][kWhite] >= 1);
    if (isolated) {
      score -= kIsolatedPawn;
      if (pawns[f][kBlack] == 0) score -= kIsolatedOnOpenFile;
    }
    const int n = pawns[f][kWhite];
    if (n > 1) score -= 3 * n - 3;
    if (pawns[f][kBlack] == 0) {
      if (pawns[f + 1][kBlack] >= 1) {
        score += kPassedBesideRightPawn;
      } else if (pawns[f - 1][kBlack] >= 1) {
        score += kPassedBesideLeftPawn;
      } else {
        score += 3 * p + kPassedBase;
        if (!isolated) score += kPassedSupported;
      }
    }
  }

  for (int i = 0; i < counts[kBlackPawn]; ++i) {
    const int sq = squares[kBlackPawn][i];
    const int f = kFileOf[sq];
    const int p = s.PawnActiveBlack[sq];
    if ((sq == 101 || sq == 102) && b.Board[sq - 12] < kEmpty) score += kBlockedCentrePawn;
    const bool isolated = !(pawns[f - 1][kBlack] >= 1) && !(pawns[f + 1][kBlack] >= 1);
    if (isolated) {
      score += kIsolatedPawn;
      if (pawns[f][kWhite] == 0) score += kIsolatedOnOpenFile;
    }
    const int n = pawns[f][kBlack];
    if (n > 1) score += 3 * n - 3;
    if (pawns[f][kWhite] == 0) {
      if (pawns[f + 1][kWhite] >= 1) {
        score -= kPassedBesideRightPawn;
      } else if (pawns[f - 1][kWhite] >= 1) {
        score -= kPassedBesideLeftPawn;
      } else {
        score -= 3 * p + kPassedBase;
        if (!isolated) score -= kPassedSupported;
      }
    }
  }

  for (int i = 0; i < counts[kWhiteRook]; ++i) {
    const int sq = squares[kWhiteRook][i];
    const int f = kFileOf[sq];
    if (RankOf(sq) == 7) score += kRookOnSeventh;
    if (pawns[f][kWhite] == 0) {
      score += kRookHalfOpenFile;
      if (pawns[f][kBlack] == 0) score += kRookOpenFile;
    }
  }
  for (int i = 0; i < counts[kBlackRook]; ++i) {
    const int sq = squares[kBlackRook][i];
    const int f = kFileOf[sq];
    if (RankOf(sq) == 2) score -= kRookOnSeventh;
    if (pawns[f][kBlack] == 0) {
      score -= kRookHalfOpenFile;
      if (pawns[f][kWhite] == 0) score -= kRookOpenFile;
    }
  }

  // A queen out before the minor pieces of its back rank have all moved.
  if (counts[kWhiteQueen] > 0 && (b.TouchCount[27] == 0 || b.TouchCount[28] == 0 ||
                                  b.TouchCount[31] == 0 || b.TouchCount[32] == 0)) {
    for (int i = 0; i < counts[kWhiteQueen]; ++i) {
      if (squares[kWhiteQueen][i] != 29) score -= kEarlyQueen;
    }
  }
  if (counts[kBlackQueen] > 0 && (b.TouchCount[111] == 0 || b.TouchCount[112] == 0 ||
                                  b.TouchCount[115] == 0 || b.TouchCount[116] == 0)) {
    for (int i = 0; i < counts[kBlackQueen]; ++i) {
      if (squares[kBlackQueen][i] != 113) score += kEarlyQueen;
    }
  }

  if (s.Middlegame) {
    for (int i = 0; i < counts[kWhiteKing]; ++i) {
      const int f = kFileOf[squares[kWhiteKing][i]];
      if (b.WhiteCastled > 0) score += kCastled;
      const int k = b.WhiteKingSquare;
      for (int j = -1; j <= 1; ++j) {
        if (b.Board[k + j + 12] == kWhitePawn) score += kShieldNear;
        if (b.Board[k + j + 24] == kWhitePawn) score += kShieldFar;
        if (pawns[f + j][kBlack] == 0) score -= kKingOpenFile;
      }
    }
    for (int i = 0; i < counts[kBlackKing]; ++i) {
      const int f = kFileOf[squares[kBlackKing][i]];
      if (b.BlackCastled > 0) score -= kCastled;
      const int k = b.BlackKingSquare;
      for (int j = -1; j <= 1; ++j) {
        if (b.Board[k + j - 12] == kBlackPawn) score -= kShieldNear;
        if (b.Board[k + j - 24] == kBlackPawn) score -= kShieldFar;
        if (pawns[f + j][kWhite] == 0) score += kKingOpenFile;
      }
    }
  }
  return b.WhiteToMove ? score : -score;
}

}  // namespace zandrell
