#include "search/evaluate.h"

#include <array>
#include <bit>
#include <cstdint>

#include "search/material_score.h"

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

// Kings, rooks and queens: the pieces with terms beyond material and square value.
constexpr std::array<int, 13> kHasFurtherTerms = {0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 1, 0, 0};

// Files beside and in front of a king on the file of bit that hold no pawn of the
// given (enemy) file set; the files beyond the board edges never count as open.
inline int OpenFilesAround(unsigned enemyFiles, unsigned bit) {
  constexpr unsigned kBoardFiles = 0x1FE;  // files 1..8
  const unsigned open = ~enemyFiles & kBoardFiles;
  return ((open & (bit >> 1)) != 0) + ((open & bit) != 0) + ((open & (bit << 1)) != 0);
}

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

namespace {

// Sum of the square values of the pawns of one colour on file f (for the passed
// bonus, which is rare enough to look the pawns up again on the board).
inline std::int32_t PawnSquareSum(const BoardState& b, const SquareTable& table, int code, int f) {
  std::int32_t sum = 0;
  for (int rank = 1; rank <= 8; ++rank) {
    const int sq = SquareOf(f, rank);
    if (b.Board[sq] == code) sum += table[sq];
  }
  return sum;
}

// Per piece code, one pawn in the four-bit count field of file a of its colour.
constexpr std::array<std::uint64_t, 13> kPawnUnit = {0, 1, std::uint64_t{1} << 32, 0, 0, 0, 0,
                                                     0, 0, 0, 0, 0, 0};

// Shift of each playing square's file field (4 bits per file, a = 0); 0 elsewhere.
constexpr std::array<std::uint8_t, kSquareCount> kFileShift = [] {
  std::array<std::uint8_t, kSquareCount> shifts{};
  for (int rank = 1; rank <= 8; ++rank)
    for (int file = 1; file <= 8; ++file)
      shifts[SquareOf(file, rank)] = static_cast<std::uint8_t>(4 * (file - 1));
  return shifts;
}();

// Bit f (1..8) set for each file whose four-bit count is not zero.
inline unsigned FileBits(std::uint32_t counts) {
  unsigned bits = 0;
  for (int f = 1; f <= 8; ++f) bits |= unsigned{((counts >> (4 * (f - 1))) & 15) != 0} << f;
  return bits;
}

// Evaluate's body; with kOwnMaterial false the material, square and undeveloped
// terms are the given value instead of being summed here.
template <bool kOwnMaterial>
std::int32_t Score(const BoardState& b, const SearchState& s, std::int32_t material) {
  // One pass over the piece list: material and square values of every piece, the
  // undeveloped minors, the pawns gathered by file, and the squares of the pieces
  // with further terms. A captured piece's slot (square 0, code 0) adds nothing.
  //
  // Pawns per file and colour: a count per file in four-bit fields (a file has room
  // for eight), and a bit f per file that holds at least one. Bits 0 and 9, the
  // files beyond the edges, are never set, so there no file holds a pawn; the
  // king's open-file test masks them out itself.
  std::uint64_t pawnCounts = 0;      // white files a..h in bits 0..31, black in 32..63
  std::uint8_t others[kPieceSlots];  // kings, rooks and queens
  int otherCount = 0;
  std::int32_t score = material;
  const int count = b.PieceCount;
  // Without branches: the order of the codes along the list is hard to predict.
  for (int slot = 1; slot <= count; ++slot) {
    const int sq = b.PieceList[slot];
    const int code = b.Board[sq];
    if constexpr (kOwnMaterial) {
      score += s.PieceSquareScore[code][sq];
      score += kUndevelopedScore[code] & -static_cast<std::int32_t>(b.TouchCount[sq] == 0);
    }
    pawnCounts += kPawnUnit[code] << kFileShift[sq];
    others[otherCount] = static_cast<std::uint8_t>(sq);
    otherCount += kHasFurtherTerms[code];
  }
  const auto whiteCounts = static_cast<std::uint32_t>(pawnCounts);
  const auto blackCounts = static_cast<std::uint32_t>(pawnCounts >> 32);
  const unsigned white = FileBits(whiteCounts);
  const unsigned black = FileBits(blackCounts);

  // A pawn on d2/e2 (d7/e7) with a piece in front of it.
  if (b.Board[41] == kWhitePawn && b.Board[53] < kEmpty) score -= kBlockedCentrePawn;
  if (b.Board[42] == kWhitePawn && b.Board[54] < kEmpty) score -= kBlockedCentrePawn;
  if (b.Board[101] == kBlackPawn && b.Board[89] < kEmpty) score += kBlockedCentrePawn;
  if (b.Board[102] == kBlackPawn && b.Board[90] < kEmpty) score += kBlockedCentrePawn;

  // The pawn terms depend on the file only (the passed bonus also on the sum of the
  // pawns' square values), so each file is scored once for all its pawns.
  const unsigned whiteIsolated = white & ~(white << 1) & ~(white >> 1);
  const unsigned blackIsolated = black & ~(black << 1) & ~(black >> 1);
  for (unsigned files = white; files != 0; files &= files - 1) {
    const int f = std::countr_zero(files);
    const unsigned bit = 1u << f;
    const int n = static_cast<int>((whiteCounts >> (4 * (f - 1))) & 15);
    const bool isolated = (whiteIsolated & bit) != 0;
    if (isolated) score -= n * (kIsolatedPawn + ((black & bit) ? 0 : kIsolatedOnOpenFile));
    if (n > 1) score -= n * (3 * n - 3);
    if ((black & bit) == 0) {
      if (black & (bit << 1)) {
        score += n * kPassedBesideRightPawn;
      } else if (black & (bit >> 1)) {
        score += n * kPassedBesideLeftPawn;
      } else {
        score += 3 * PawnSquareSum(b, s.PawnActiveWhite, kWhitePawn, f) +
                 n * (kPassedBase + (isolated ? 0 : kPassedSupported));
      }
    }
  }
  for (unsigned files = black; files != 0; files &= files - 1) {
    const int f = std::countr_zero(files);
    const unsigned bit = 1u << f;
    const int n = static_cast<int>((blackCounts >> (4 * (f - 1))) & 15);
    const bool isolated = (blackIsolated & bit) != 0;
    if (isolated) score += n * (kIsolatedPawn + ((white & bit) ? 0 : kIsolatedOnOpenFile));
    if (n > 1) score += n * (3 * n - 3);
    if ((white & bit) == 0) {
      if (white & (bit << 1)) {
        score -= n * kPassedBesideRightPawn;
      } else if (white & (bit >> 1)) {
        score -= n * kPassedBesideLeftPawn;
      } else {
        score -= 3 * PawnSquareSum(b, s.PawnActiveBlack, kBlackPawn, f) +
                 n * (kPassedBase + (isolated ? 0 : kPassedSupported));
      }
    }
  }

  // A queen out before the minor pieces of its back rank have all moved.
  const bool whiteMinorsHome = b.TouchCount[27] == 0 || b.TouchCount[28] == 0 ||
                               b.TouchCount[31] == 0 || b.TouchCount[32] == 0;
  const bool blackMinorsHome = b.TouchCount[111] == 0 || b.TouchCount[112] == 0 ||
                               b.TouchCount[115] == 0 || b.TouchCount[116] == 0;
  // Rook and queen terms without branches; kings only in the middle game.
  for (int i = 0; i < otherCount; ++i) {
    const int sq = others[i];
    const int code = b.Board[sq];
    const unsigned bit = 1u << kFileOf[sq];
    const int rank = RankOf(sq);
    const int whiteOpen = (white & bit) == 0;
    const int blackOpen = (black & bit) == 0;
    score += (code == kWhiteRook) * ((rank == 7) * kRookOnSeventh +
                                     whiteOpen * (kRookHalfOpenFile + blackOpen * kRookOpenFile));
    score -= (code == kBlackRook) * ((rank == 2) * kRookOnSeventh +
                                     blackOpen * (kRookHalfOpenFile + whiteOpen * kRookOpenFile));
    score -= (code == kWhiteQueen && whiteMinorsHome && sq != 29) * kEarlyQueen;
    score += (code == kBlackQueen && blackMinorsHome && sq != 113) * kEarlyQueen;
    if (s.Middlegame && (code == kWhiteKing || code == kBlackKing)) {
      if (code == kWhiteKing) {
        if (b.WhiteCastled > 0) score += kCastled;
        const int k = b.WhiteKingSquare;
        for (int j = -1; j <= 1; ++j) {
          score += (b.Board[k + j + 12] == kWhitePawn) * kShieldNear;
          score += (b.Board[k + j + 24] == kWhitePawn) * kShieldFar;
        }
        // Files beside and in front of the king without an enemy pawn.
        score -= kKingOpenFile * OpenFilesAround(black, bit);
      } else {
        if (b.BlackCastled > 0) score -= kCastled;
        const int k = b.BlackKingSquare;
        for (int j = -1; j <= 1; ++j) {
          score -= (b.Board[k + j - 12] == kBlackPawn) * kShieldNear;
          score -= (b.Board[k + j - 24] == kBlackPawn) * kShieldFar;
        }
        score += kKingOpenFile * OpenFilesAround(white, bit);
      }
    }
  }
  return b.WhiteToMove ? score : -score;
}

}  // namespace

std::int32_t Evaluate(const BoardState& b, const EvalSettings&, const SearchState& s) {
  return Score<true>(b, s, 0);
}

std::int32_t EvaluateWithMaterial(const BoardState& b, const SearchState& s) {
  return Score<false>(b, s, s.MaterialScore);
}

std::int32_t MaterialScoreOf(const BoardState& b, const SearchState& s) {
  std::int32_t score = 0;
  for (int slot = 1; slot <= b.PieceCount; ++slot) {
    const int sq = b.PieceList[slot];
    const int code = b.Board[sq];
    score += s.PieceSquareScore[code][sq];
    score += kUndevelopedScore[code] & -static_cast<std::int32_t>(b.TouchCount[sq] == 0);
  }
  return score;
}

}  // namespace zandrell
