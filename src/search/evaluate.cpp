#include "search/evaluate.h"

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

constexpr int kWhite = 0;
constexpr int kBlack = 1;

}  // namespace

void SelectPhaseTables(const BoardState& b, SearchState& s) {
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
}

std::int32_t Evaluate(const BoardState& b, const EvalSettings& t, const SearchState& s) {
  // Pawns per file and colour; files 0 and 9 are sentinels holding -1, so they
  // never count as holding a pawn nor as being empty of pawns.
  int pawns[10][2];
  pawns[0][kWhite] = pawns[0][kBlack] = -1;
  pawns[9][kWhite] = pawns[9][kBlack] = -1;
  for (int f = 1; f <= 8; ++f) pawns[f][kWhite] = pawns[f][kBlack] = 0;

  const int count = b.PieceCount;
  for (int slot = 1; slot <= count; ++slot) {
    int sq = b.PieceList[slot];
    int code = b.Board[sq];
    if (code == kWhitePawn) {
      ++pawns[FileOf(sq)][kWhite];
    } else if (code == kBlackPawn) {
      ++pawns[FileOf(sq)][kBlack];
    }
  }

  std::int32_t score = 0;
  for (int slot = 1; slot <= count; ++slot) {
    const int sq = b.PieceList[slot];
    const int code = b.Board[sq];
    const int f = FileOf(sq);
    switch (code) {
      case kWhitePawn: {
        const int p = s.PawnActiveWhite[sq];
        score += t.PawnValue + p;
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
        break;
      }
      case kBlackPawn: {
        const int p = s.PawnActiveBlack[sq];
        score -= t.PawnValue + p;
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
        break;
      }
      case kWhiteKnight:
        score += t.KnightValue + KnightTableWhite[sq];
        if (b.TouchCount[sq] == 0) score -= kUndevelopedKnight;
        break;
      case kBlackKnight:
        score -= t.KnightValue + KnightTableBlack[sq];
        if (b.TouchCount[sq] == 0) score += kUndevelopedKnight;
        break;
      case kWhiteBishop:
        score += t.BishopValue + BishopTableWhite[sq];
        if (b.TouchCount[sq] == 0) score -= kUndevelopedBishop;
        break;
      case kBlackBishop:
        score -= t.BishopValue + BishopTableBlack[sq];
        if (b.TouchCount[sq] == 0) score += kUndevelopedBishop;
        break;
      case kWhiteRook:
        score += t.RookValue;
        if (RankOf(sq) == 7) score += kRookOnSeventh;
        if (pawns[f][kWhite] == 0) {
          score += kRookHalfOpenFile;
          if (pawns[f][kBlack] == 0) score += kRookOpenFile;
        }
        break;
      case kBlackRook:
        score -= t.RookValue;
        if (RankOf(sq) == 2) score -= kRookOnSeventh;
        if (pawns[f][kBlack] == 0) {
          score -= kRookHalfOpenFile;
          if (pawns[f][kWhite] == 0) score -= kRookOpenFile;
        }
        break;
      case kWhiteQueen:
        score += t.QueenValue;
        // Out before the minor pieces of the back rank have moved.
        if (sq != 29 && (b.TouchCount[27] == 0 || b.TouchCount[28] == 0 || b.TouchCount[31] == 0 ||
                         b.TouchCount[32] == 0)) {
          score -= kEarlyQueen;
        }
        break;
      case kBlackQueen:
        score -= t.QueenValue;
        if (sq != 113 && (b.TouchCount[111] == 0 || b.TouchCount[112] == 0 ||
                          b.TouchCount[115] == 0 || b.TouchCount[116] == 0)) {
          score += kEarlyQueen;
        }
        break;
      case kWhiteKing:
        score += s.KingActiveWhite[sq];
        if (s.Middlegame) {
          if (b.WhiteCastled > 0) score += kCastled;
          const int k = b.WhiteKingSquare;
          for (int j = -1; j <= 1; ++j) {
            if (b.Board[k + j + 12] == kWhitePawn) score += kShieldNear;
            if (b.Board[k + j + 24] == kWhitePawn) score += kShieldFar;
            if (pawns[f + j][kBlack] == 0) score -= kKingOpenFile;
          }
        }
        break;
      case kBlackKing:
        score -= s.KingActiveBlack[sq];
        if (s.Middlegame) {
          if (b.BlackCastled > 0) score -= kCastled;
          const int k = b.BlackKingSquare;
          for (int j = -1; j <= 1; ++j) {
            if (b.Board[k + j - 12] == kBlackPawn) score -= kShieldNear;
            if (b.Board[k + j - 24] == kBlackPawn) score -= kShieldFar;
            if (pawns[f + j][kWhite] == 0) score += kKingOpenFile;
          }
        }
        break;
      default:
        break;
    }
  }
  return b.WhiteToMove ? score : -score;
}

}  // namespace zandrell
