#include "search/tapered_eval.h"

#include <algorithm>
#include <array>
#include <cstdlib>

#include "board/board_tables.h"
#include "board/position_key.h"

namespace zandrell {

namespace {

struct SideView {
  bool White;
  int Pawn, Knight, Bishop, Rook, Queen, King;
};
constexpr SideView kWhiteView{true,       kWhitePawn,  kWhiteKnight, kWhiteBishop,
                              kWhiteRook, kWhiteQueen, kWhiteKing};
constexpr SideView kBlackView{false,      kBlackPawn,  kBlackKnight, kBlackBishop,
                              kBlackRook, kBlackQueen, kBlackKing};

// Files and ranks by square, read at every piece of every evaluation.
constexpr auto kFiles = [] {
  std::array<std::int8_t, kSquareCount> files{};
  for (int square = 0; square < kSquareCount; ++square) {
    files[square] = static_cast<std::int8_t>(square >= 26 ? FileOf(square) : 0);
  }
  return files;
}();
constexpr auto kRanks = [] {
  std::array<std::int8_t, kSquareCount> ranks{};
  for (int square = 0; square < kSquareCount; ++square) {
    ranks[square] = static_cast<std::int8_t>(square >= 26 ? RankOf(square) : 0);
  }
  return ranks;
}();
constexpr int FileAt(int square) { return kFiles[static_cast<std::size_t>(square)]; }
constexpr int RankAt(int square) { return kRanks[static_cast<std::size_t>(square)]; }

constexpr bool IsPiece(int code) { return code >= kWhitePawn && code <= kBlackBishop; }
constexpr bool IsWhitePiece(int code) { return IsPiece(code) && code % 2 == 1; }

// The square as its own side sees it: a1 = 0 for White, a8 = 0 for Black.
constexpr int OwnSquare(const SideView& side, int file, int rank) {
  return (side.White ? rank - 1 : 8 - rank) * 8 + (file - 1);
}
constexpr int OwnRank(const SideView& side, int rank) { return side.White ? rank : 9 - rank; }

// Pawns of one side by file (index 1..8, 0 and 9 empty): how many, and the
// lowest and highest rank (9 and 0 when none).
struct PawnFiles {
  std::int8_t Count[10] = {};
  std::int8_t Lowest[10] = {9, 9, 9, 9, 9, 9, 9, 9, 9, 9};
  std::int8_t Highest[10] = {};
};

// Flags of a square in Census::Marks.
constexpr std::uint8_t kWhitePawnGuard = 1;  // a white pawn attacks it
constexpr std::uint8_t kBlackPawnGuard = 2;
constexpr std::uint8_t kWhiteKingZone = 4;  // the white king's square or one beside it
constexpr std::uint8_t kBlackKingZone = 8;

// What one pass over the piece list finds, by side (0 White, 1 Black): every
// term reads the board through it, so no term scans the board again.
struct Census {
  std::uint8_t PawnSquares[2][16];
  int PawnCount[2] = {};
  std::uint8_t PieceSquares[2][16];  // knights, bishops, rooks and queens
  int PieceCount[2] = {};
  PawnFiles Files[2];
  int Phase = 0;
  int Minors[2] = {}, Rooks[2] = {}, Queens[2] = {};
  int Bishops[2] = {}, LightBishops[2] = {};
  std::uint8_t Marks[kSquareCount] = {};
  std::uint64_t PawnKey = 0x9E3779B97F4A7C15ULL;  // never 0, the empty slot's key
};

void TakeCensus(const BoardState& b, Census& c) {
  // Slots past PieceCount are stale; a captured piece's slot holds 0.
  for (int slot = 1; slot <= b.PieceCount; ++slot) {
    const int square = b.PieceList[slot];
    if (square == 0) continue;
    const int code = b.Board[square];
    if (!IsPiece(code)) continue;
    const int side = IsWhitePiece(code) ? 0 : 1;
    switch (code) {
      case kWhitePawn:
      case kBlackPawn: {
        if (c.PawnCount[side] == 16) break;
        c.PawnSquares[side][c.PawnCount[side]++] = static_cast<std::uint8_t>(square);
        c.PawnKey ^= kKeys.Pieces[code][square];
        PawnFiles& files = c.Files[side];
        const int file = FileAt(square);
        const int rank = RankAt(square);
        ++files.Count[file];
        files.Lowest[file] = static_cast<std::int8_t>(std::min<int>(files.Lowest[file], rank));
        files.Highest[file] = static_cast<std::int8_t>(std::max<int>(files.Highest[file], rank));
        // A white pawn attacks up the board, a black one down.
        const int ahead = side == 0 ? 12 : -12;
        const std::uint8_t guard = side == 0 ? kWhitePawnGuard : kBlackPawnGuard;
        c.Marks[square + ahead - 1] |= guard;
        c.Marks[square + ahead + 1] |= guard;
        break;
      }
      case kWhiteKing:
      case kBlackKing: break;
      default:
        if (c.PieceCount[side] == 16) break;
        c.PieceSquares[side][c.PieceCount[side]++] = static_cast<std::uint8_t>(square);
        if (code == kWhiteKnight || code == kBlackKnight) {
          ++c.Minors[side];
          c.Phase += 1;
        } else if (code == kWhiteBishop || code == kBlackBishop) {
          ++c.Minors[side];
          ++c.Bishops[side];
          if ((FileAt(square) + RankAt(square)) % 2 == 1) ++c.LightBishops[side];
          c.Phase += 1;
        } else if (code == kWhiteRook || code == kBlackRook) {
          ++c.Rooks[side];
          c.Phase += 2;
        } else {
          ++c.Queens[side];
          c.Phase += 4;
        }
        break;
    }
  }
  for (int offset : {0, -13, -12, -11, -1, 1, 11, 12, 13}) {
    c.Marks[b.WhiteKingSquare + offset] |= kWhiteKingZone;
    c.Marks[b.BlackKingSquare + offset] |= kBlackKingZone;
  }
}

int KingDistance(int from, int to) {
  return std::max(std::abs(FileAt(from) - FileAt(to)), std::abs(RankAt(from) - RankAt(to)));
}

constexpr std::uint64_t PassedBit(int square) {
  return std::uint64_t{1} << ((RankAt(square) - 1) * 8 + FileAt(square) - 1);
}

// The terms of the side's pawns that depend on the pawns alone; the passed
// pawns' bits go to passed.
template <class Sink>
void AddPawnStructure(const BoardState& b, const SideView& side, const Census& c, Sink& add,
                      std::uint64_t& passed) {
  const int me = side.White ? 0 : 1;
  const PawnFiles& own = c.Files[me];
  const PawnFiles& enemy = c.Files[1 - me];
  const std::uint8_t enemyGuard = side.White ? kBlackPawnGuard : kWhitePawnGuard;
  const int forward = side.White ? 12 : -12;
  for (int file = 1; file <= 8; ++file) {
    if (own.Count[file] > 1) add(kTermDoubledPawn, own.Count[file] - 1);
  }
  for (int i = 0; i < c.PawnCount[me]; ++i) {
    const int square = c.PawnSquares[me][i];
    const int file = FileAt(square);
    const int rank = RankAt(square);
    if (rank < 2 || rank > 7) continue;
    add(kTermMaterial + kTermPawn, 1);
    add(kTermSquare + kTermPawn * 64 + OwnSquare(side, file, rank), 1);
    const bool isolated = own.Count[file - 1] == 0 && own.Count[file + 1] == 0;
    if (isolated) add(kTermIsolatedPawn, 1);
    // Passed: no enemy pawn ahead on its file or beside it.
    bool isPassed = true;
    for (int f = file - 1; f <= file + 1; ++f) {
      if (side.White ? enemy.Highest[f] > rank : enemy.Lowest[f] < rank) isPassed = false;
    }
    if (isPassed) {
      add(kTermPassedPawn + OwnRank(side, rank) - 1, 1);
      passed |= PassedBit(square);
    }
    if (b.Board[square - 1] == side.Pawn || b.Board[square + 1] == side.Pawn ||
        b.Board[square - forward - 1] == side.Pawn || b.Board[square - forward + 1] == side.Pawn) {
      add(kTermConnectedPawn, 1);
    } else if (!isolated) {
      // Backward: no pawn beside or behind on the next files can defend its
      // step, and an enemy pawn guards the square in front.
      bool supported = false;
      for (int f : {file - 1, file + 1}) {
        if (own.Count[f] > 0 && (side.White ? own.Lowest[f] < rank : own.Highest[f] > rank)) {
          supported = true;
        }
      }
      if (!supported && (c.Marks[square + forward] & enemyGuard) != 0) add(kTermBackwardPawn, 1);
    }
  }
}

// The passed pawns' terms that depend on more than pawns: a free path, and the
// kings racing for the square ahead (which counts in the endgame).
template <class Sink>
void AddPassedPawnRace(const BoardState& b, const SideView& side, const Census& c,
                       std::uint64_t passed, int ownKing, int enemyKing, Sink& add) {
  const int me = side.White ? 0 : 1;
  const int forward = side.White ? 12 : -12;
  for (int i = 0; i < c.PawnCount[me]; ++i) {
    const int square = c.PawnSquares[me][i];
    if ((passed & PassedBit(square)) == 0) continue;
    bool free = true;
    for (int s = square + forward; b.Board[s] != kBorder; s += forward) {
      if (b.Board[s] != kEmpty && b.Board[s] < kWhiteMarker) free = false;
    }
    if (free) add(kTermPassedFreePath + OwnRank(side, RankAt(square)) - 1, 1);
    add(kTermPassedOwnKing, KingDistance(ownKing, square + forward));
    add(kTermPassedEnemyKing, KingDistance(enemyKing, square + forward));
  }
}

// Whether a piece of the side may go to a square holding code: empty, a marker
// or the enemy's, by piece code.
constexpr auto kOpenToWhite = [] {
  std::array<bool, 17> open{};
  for (int code = 0; code < 17; ++code) {
    open[code] = code == kEmpty || code >= kWhiteMarker || (IsPiece(code) && !IsWhitePiece(code));
  }
  return open;
}();
constexpr auto kOpenToBlack = [] {
  std::array<bool, 17> open{};
  for (int code = 0; code < 17; ++code) {
    open[code] = code == kEmpty || code >= kWhiteMarker || IsWhitePiece(code);
  }
  return open;
}();

template <class Sink>
void AddPieceTerms(const BoardState& b, const SideView& side, const Census& c, Sink& add) {
  const int me = side.White ? 0 : 1;
  const PawnFiles& own = c.Files[me];
  const PawnFiles& enemy = c.Files[1 - me];
  const auto& open = side.White ? kOpenToWhite : kOpenToBlack;
  const std::uint8_t enemyGuard = side.White ? kBlackPawnGuard : kWhitePawnGuard;
  const std::uint8_t enemyZone = side.White ? kBlackKingZone : kWhiteKingZone;
  int zoneTotal = 0;
  for (int i = 0; i < c.PieceCount[me]; ++i) {
    const int square = c.PieceSquares[me][i];
    const int code = b.Board[square];
    const int kind = code == side.Knight   ? kTermKnight
                     : code == side.Bishop ? kTermBishop
                     : code == side.Rook   ? kTermRook
                                           : kTermQueen;
    const int file = FileAt(square);
    add(kTermSquare + kind * 64 + OwnSquare(side, file, RankAt(square)), 1);
    add(kTermMaterial + kind, 1);
    int mobility = 0;
    int zone = 0;
    // A square counts for mobility when the piece may go there and no enemy
    // pawn guards it.
    auto visit = [&](int target) {
      const std::uint8_t marks = c.Marks[target];
      if (open[b.Board[target]] && (marks & enemyGuard) == 0) ++mobility;
      if ((marks & enemyZone) != 0) ++zone;
    };
    if (kind == kTermKnight) {
      for (int offset : KnightOffsets) {
        if (b.Board[square + offset] != kBorder) visit(square + offset);
      }
    } else {
      const int first = kind == kTermBishop ? 4 : 0;
      const int last = kind == kTermRook ? 4 : 8;
      for (int d = first; d < last; ++d) {
        for (int target = square + DirectionOffsets[d]; b.Board[target] != kBorder;
             target += DirectionOffsets[d]) {
          visit(target);
          if (b.Board[target] != kEmpty && b.Board[target] < kWhiteMarker) break;
        }
      }
    }
    switch (kind) {
      case kTermKnight:
        add(kTermKnightMobility + std::min(mobility, kKnightMobilities - 1), 1);
        break;
      case kTermBishop:
        add(kTermBishopMobility + std::min(mobility, kBishopMobilities - 1), 1);
        break;
      case kTermRook: add(kTermRookMobility + std::min(mobility, kRookMobilities - 1), 1); break;
      default: add(kTermQueenMobility + std::min(mobility, kQueenMobilities - 1), 1); break;
    }
    if (zone > 0) add(kTermKingZoneAttack + kind - kTermKnight, zone);
    zoneTotal += zone;
    if ((c.Marks[square] & enemyGuard) != 0) add(kTermPawnThreat + kind - kTermKnight, 1);
    if (kind == kTermRook && own.Count[file] == 0) {
      add(enemy.Count[file] == 0 ? kTermRookOpenFile : kTermRookHalfOpenFile, 1);
    }
  }
  if (c.Bishops[me] >= 2) add(kTermBishopPair, 1);
  add(kTermKingAttackTotal + std::min(zoneTotal, kKingAttackTotals - 1), 1);
}

template <class Sink>
void AddKing(const BoardState& b, const SideView& side, int king, const PawnFiles& own, Sink& add) {
  add(kTermSquare + kTermKing * 64 + OwnSquare(side, FileAt(king), RankAt(king)), 1);
  const int forward = side.White ? 12 : -12;
  const int kingFile = FileAt(king);
  for (int file = std::max(1, kingFile - 1); file <= std::min(8, kingFile + 1); ++file) {
    if (own.Count[file] == 0) add(kTermKingOpenFile, 1);
    const int column = king + (file - kingFile);
    if (b.Board[column + forward] == side.Pawn) add(kTermKingShield, 1);
    if (b.Board[column + 2 * forward] == side.Pawn) add(kTermKingShield, 1);
  }
}

// The pawns' structure terms to sink(term, count), signed for White, and the
// passed pawns' bits.
template <class Sink>
std::uint64_t WalkPawnStructure(const BoardState& b, const Census& c, Sink& sink) {
  std::uint64_t passed = 0;
  auto white = [&](int term, int count) { sink(term, count); };
  auto black = [&](int term, int count) { sink(term, -count); };
  AddPawnStructure(b, kWhiteView, c, white, passed);
  AddPawnStructure(b, kBlackView, c, black, passed);
  return passed;
}

// Every other term, given the passed pawns.
template <class Sink>
void WalkPieceTerms(const BoardState& b, const Census& c, std::uint64_t passed, Sink& sink) {
  const int whiteKing = b.WhiteKingSquare;
  const int blackKing = b.BlackKingSquare;
  auto white = [&](int term, int count) { sink(term, count); };
  auto black = [&](int term, int count) { sink(term, -count); };
  AddPassedPawnRace(b, kWhiteView, c, passed, whiteKing, blackKing, white);
  AddPassedPawnRace(b, kBlackView, c, passed, blackKing, whiteKing, black);
  AddPieceTerms(b, kWhiteView, c, white);
  AddPieceTerms(b, kBlackView, c, black);
  AddKing(b, kWhiteView, whiteKing, c.Files[0], white);
  AddKing(b, kBlackView, blackKing, c.Files[1], black);
  sink(kTermTempo, b.WhiteToMove ? 1 : -1);
}

// Every term of the position to sink(term, count), signed for White.
template <class Sink>
void WalkTerms(const BoardState& b, const Census& c, Sink& sink) {
  WalkPieceTerms(b, c, WalkPawnStructure(b, c, sink), sink);
}

int ScaleOf(const Census& c, bool whiteAhead) {
  const int strong = whiteAhead ? 0 : 1;
  const int weak = 1 - strong;
  auto pieces = [&](int side) {
    return 3 * c.Minors[side] + 5 * c.Rooks[side] + 9 * c.Queens[side];
  };
  if (c.PawnCount[strong] == 0) {
    // A lone minor piece cannot mate; with no pawn, less than a rook more is
    // mostly a draw (rook against minor, rook and minor against rook).
    if (pieces(strong) <= 3) return 0;
    if (pieces(strong) - pieces(weak) <= 3) return kFullScale / 4;
  }
  // Bishops on squares of opposite colours, nothing else: the defender holds a
  // blockade on the other colour.
  if (c.Minors[0] == 1 && c.Minors[1] == 1 && c.Bishops[0] == 1 && c.Bishops[1] == 1 &&
      c.Rooks[0] + c.Rooks[1] + c.Queens[0] + c.Queens[1] == 0 &&
      c.LightBishops[0] != c.LightBishops[1]) {
    return kFullScale / 2;
  }
  return kFullScale;
}

}  // namespace

int DrawishScale(const BoardState& b, bool whiteAhead) {
  Census c;
  TakeCensus(b, c);
  return ScaleOf(c, whiteAhead);
}

namespace {

std::int32_t Blend(const BoardState& b, const Census& c, std::int32_t mg, std::int32_t eg) {
  const int phase = std::min(c.Phase, kFullPhase);
  std::int32_t white = (mg * phase + eg * (kFullPhase - phase)) / kFullPhase;
  white = white * ScaleOf(c, white > 0) / kFullScale;
  return b.WhiteToMove ? white : -white;
}

// A sink adding each term's weights, counted, to a middle-game and an endgame sum.
struct WeightedSum {
  const TaperedWeights& Weights;
  std::int32_t Mg = 0;
  std::int32_t Eg = 0;
  void operator()(int term, int count) {
    Mg += count * Weights[static_cast<std::size_t>(term)].Mg;
    Eg += count * Weights[static_cast<std::size_t>(term)].Eg;
  }
};

}  // namespace

std::int32_t TaperedEvaluate(const BoardState& b, const TaperedWeights& w) {
  WeightedSum sum{w};
  Census c;
  TakeCensus(b, c);
  WalkTerms(b, c, sum);
  return Blend(b, c, sum.Mg, sum.Eg);
}

std::int32_t TaperedEvaluate(const BoardState& b, SearchState& s) {
  EvalCacheEntry& known = s.EvalCache[(b.Key * 0x9E3779B97F4A7C15ULL) >> (64 - kEvalCacheBits)];
  if (known.Key == b.Key && b.Key != 0) {
    s.EvalPawnKey = known.PawnKey;
    return known.Score;
  }
  Census c;
  TakeCensus(b, c);
  PawnStructureScore& entry =
      s.PawnStructureCache[(c.PawnKey * 0x9E3779B97F4A7C15ULL) >> (64 - kPawnStructureCacheBits)];
  if (entry.Key != c.PawnKey) {
    WeightedSum pawns{kTaperedWeights};
    entry.Passed = WalkPawnStructure(b, c, pawns);
    entry.Mg = pawns.Mg;
    entry.Eg = pawns.Eg;
    entry.Key = c.PawnKey;
  }
  s.EvalPawnKey = c.PawnKey;
  WeightedSum sum{kTaperedWeights, entry.Mg, entry.Eg};
  WalkPieceTerms(b, c, entry.Passed, sum);
  known.Key = b.Key;
  known.PawnKey = c.PawnKey;
  known.Score = Blend(b, c, sum.Mg, sum.Eg);
  return known.Score;
}

void CountTerms(const BoardState& b, TermCounts& counts) {
  counts.Count.fill(0);
  auto count = [&](int term, int n) {
    counts.Count[static_cast<std::size_t>(term)] += static_cast<std::int16_t>(n);
  };
  Census c;
  TakeCensus(b, c);
  WalkTerms(b, c, count);
  counts.Phase = std::min(c.Phase, kFullPhase);
}

double BlendCounts(const TermCounts& counts, const TaperedWeights& w) {
  double mg = 0.0;
  double eg = 0.0;
  for (std::size_t i = 0; i < counts.Count.size(); ++i) {
    mg += counts.Count[i] * w[i].Mg;
    eg += counts.Count[i] * w[i].Eg;
  }
  return (mg * counts.Phase + eg * (kFullPhase - counts.Phase)) / kFullPhase;
}

}  // namespace zandrell
