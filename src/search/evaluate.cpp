#include "search/evaluate.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <iterator>

#include "search/material_score.h"
#include "tables/constants.h"

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
    for (int file = 1; file <= 8; ++file)
      files[SquareOf(file, rank)] = static_cast<std::int8_t>(file);
  return files;
}();

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
  // A zeroed entry holds the right scores for its key, the position without pawns.
  std::fill(std::begin(s.PawnFileCache), std::end(s.PawnFileCache), PawnFileScore{});

  for (int sq = 0; sq < kSquareCount; ++sq) {
    auto& v = s.PieceSquareScore;
    v[kBorder][sq] = 0;
    v[kWhitePawn][sq] = t.PawnValue + s.PawnActiveWhite[sq];
    v[kBlackPawn][sq] = -(t.PawnValue + s.PawnActiveBlack[sq]);
    v[kWhiteKnight][sq] = t.KnightValue + KnightTableWhite[sq];
    v[kBlackKnight][sq] = -(t.KnightValue + KnightTableBlack[sq]);
    v[kWhiteKing][sq] = s.KingActiveWhite[sq];
    v[kBlackKing][sq] = -s.KingActiveBlack[sq];
    v[kWhiteRook][sq] = t.RookValue + (kFileOf[sq] != 0 && RankOf(sq) == 7) * kRookOnSeventh;
    v[kBlackRook][sq] = -(t.RookValue + (kFileOf[sq] != 0 && RankOf(sq) == 2) * kRookOnSeventh);
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

// Bit f (1..8) set for each file whose four-bit count is not zero.
inline unsigned FileBits(std::uint32_t counts) {
  unsigned bits = 0;
  for (int f = 1; f <= 8; ++f) bits |= unsigned{((counts >> (4 * (f - 1))) & 15) != 0} << f;
  return bits;
}

// The pawn terms that depend on the files alone, scored for all the pawns of each
// file at once (isolated, doubled and passed pawns look at files, not ranks).
PawnFileScore ScorePawnFiles(std::uint64_t pawnFiles) {
  PawnFileScore r{};
  r.Key = pawnFiles;
  const auto whiteCounts = static_cast<std::uint32_t>(pawnFiles);
  const auto blackCounts = static_cast<std::uint32_t>(pawnFiles >> 32);
  // Bits 0 and 9, the files beyond the edges, are never set, so there no file
  // holds a pawn; the king's open-file test masks them out itself.
  const unsigned white = FileBits(whiteCounts);
  const unsigned black = FileBits(blackCounts);
  r.White = static_cast<std::uint16_t>(white);
  r.Black = static_cast<std::uint16_t>(black);
  std::int32_t score = 0;
  unsigned whiteFree = 0;
  unsigned blackFree = 0;
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
        whiteFree |= bit;
        score += n * (kPassedBase + (isolated ? 0 : kPassedSupported));
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
        blackFree |= bit;
        score -= n * (kPassedBase + (isolated ? 0 : kPassedSupported));
      }
    }
  }
  r.Score = score;
  r.WhiteFree = static_cast<std::uint16_t>(whiteFree);
  r.BlackFree = static_cast<std::uint16_t>(blackFree);
  return r;
}

// Evaluate's body on the piece terms of the position and the file scores of its pawns.
std::int32_t Score(const BoardState& b, const SearchState& s, const PieceTerms& t,
                   const PawnFileScore& pawns) {
  std::int32_t score = t.Material + pawns.Score;
  const unsigned white = pawns.White;
  const unsigned black = pawns.Black;

  // A pawn on d2/e2 (d7/e7) with a piece in front of it.
  if (b.Board[kD2] == kWhitePawn && b.Board[kD3] < kEmpty) score -= kBlockedCentrePawn;
  if (b.Board[kE2] == kWhitePawn && b.Board[kE3] < kEmpty) score -= kBlockedCentrePawn;
  if (b.Board[kD7] == kBlackPawn && b.Board[kD6] < kEmpty) score += kBlockedCentrePawn;
  if (b.Board[kE7] == kBlackPawn && b.Board[kE6] < kEmpty) score += kBlockedCentrePawn;

  // Pawns passed on all three files also score three times their square values.
  for (unsigned files = pawns.WhiteFree; files != 0; files &= files - 1)
    score += 3 * PawnSquareSum(b, s.PawnActiveWhite, kWhitePawn, std::countr_zero(files));
  for (unsigned files = pawns.BlackFree; files != 0; files &= files - 1)
    score -= 3 * PawnSquareSum(b, s.PawnActiveBlack, kBlackPawn, std::countr_zero(files));

  // Rooks on files without pawns of their own side, scored per file; their
  // seventh-rank bonus is part of their square value.
  const auto whiteRooks = static_cast<std::uint32_t>(t.RookFiles);
  const auto blackRooks = static_cast<std::uint32_t>(t.RookFiles >> 32);
  for (unsigned files = FileBits(whiteRooks) & ~white; files != 0; files &= files - 1) {
    const int f = std::countr_zero(files);
    const int n = static_cast<int>((whiteRooks >> (4 * (f - 1))) & 15);
    score += n * (kRookHalfOpenFile + ((black >> f) & 1 ? 0 : kRookOpenFile));
  }
  for (unsigned files = FileBits(blackRooks) & ~black; files != 0; files &= files - 1) {
    const int f = std::countr_zero(files);
    const int n = static_cast<int>((blackRooks >> (4 * (f - 1))) & 15);
    score -= n * (kRookHalfOpenFile + ((white >> f) & 1 ? 0 : kRookOpenFile));
  }

  // Each queen out before the minor pieces of its back rank have all moved.
  const bool whiteMinorsHome = b.TouchCount[kB1] == 0 || b.TouchCount[kC1] == 0 ||
                               b.TouchCount[kF1] == 0 || b.TouchCount[kG1] == 0;
  const bool blackMinorsHome = b.TouchCount[kB8] == 0 || b.TouchCount[kC8] == 0 ||
                               b.TouchCount[kF8] == 0 || b.TouchCount[kG8] == 0;
  if (whiteMinorsHome) score -= kEarlyQueen * static_cast<std::int32_t>(t.QueensAway & 0xFFFF);
  if (blackMinorsHome) score += kEarlyQueen * static_cast<std::int32_t>(t.QueensAway >> 16);

  // King safety, in the middle game only.
  if (s.Middlegame) {
    const int wk = b.WhiteKingSquare;
    if (b.Board[wk] == kWhiteKing) {
      if (b.WhiteCastled > 0) score += kCastled;
      for (int j = -1; j <= 1; ++j) {
        score += (b.Board[wk + j + 12] == kWhitePawn) * kShieldNear;
        score += (b.Board[wk + j + 24] == kWhitePawn) * kShieldFar;
      }
      // Files beside and in front of the king without an enemy pawn.
      score -= kKingOpenFile * OpenFilesAround(black, 1u << kFileOf[wk]);
    }
    const int bk = b.BlackKingSquare;
    if (b.Board[bk] == kBlackKing) {
      if (b.BlackCastled > 0) score -= kCastled;
      for (int j = -1; j <= 1; ++j) {
        score -= (b.Board[bk + j - 12] == kBlackPawn) * kShieldNear;
        score -= (b.Board[bk + j - 24] == kBlackPawn) * kShieldFar;
      }
      score += kKingOpenFile * OpenFilesAround(white, 1u << kFileOf[bk]);
    }
  }
  return b.WhiteToMove ? score : -score;
}

}  // namespace

std::int32_t Evaluate(const BoardState& b, const EvalSettings&, const SearchState& s) {
  const PieceTerms t = PieceTermsOf(b, s);
  return Score(b, s, t, ScorePawnFiles(t.PawnFiles));
}

std::int32_t EvaluateWithMaterial(const BoardState& b, SearchState& s) {
  // The pawn files change with few moves, so their score is mostly found cached.
  const std::uint64_t key = s.Terms.PawnFiles;
  PawnFileScore& entry = s.PawnFileCache[(key * 0x9E3779B97F4A7C15u) >> (64 - kPawnFileCacheBits)];
  if (entry.Key != key) entry = ScorePawnFiles(key);
  return Score(b, s, s.Terms, entry);
}

PieceTerms PieceTermsOf(const BoardState& b, const SearchState& s) {
  PieceTerms t{};
  for (int slot = 1; slot <= b.PieceCount; ++slot) AddSquareTerms(b, s, b.PieceList[slot], t);
  return t;
}

}  // namespace zandrell
