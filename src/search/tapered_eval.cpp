#include "search/tapered_eval.h"

#include <algorithm>
#include <cstdlib>

#include "board/board_tables.h"

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
  int Count[10] = {};
  int Lowest[10] = {9, 9, 9, 9, 9, 9, 9, 9, 9, 9};
  int Highest[10] = {};
};

PawnFiles PawnFilesOf(const BoardState& b, int pawn) {
  PawnFiles files;
  for (int rank = 1; rank <= 8; ++rank) {
    for (int file = 1; file <= 8; ++file) {
      if (b.Board[SquareOf(file, rank)] != pawn) continue;
      ++files.Count[file];
      files.Lowest[file] = std::min(files.Lowest[file], rank);
      files.Highest[file] = std::max(files.Highest[file], rank);
    }
  }
  return files;
}

bool PawnAttacks(const BoardState& b, int square, int enemyPawn) {
  // A white pawn attacks up the board, so it stands below the square.
  const int behind = enemyPawn == kWhitePawn ? -12 : 12;
  return b.Board[square + behind - 1] == enemyPawn || b.Board[square + behind + 1] == enemyPawn;
}

int KingDistance(int from, int to) {
  return std::max(std::abs(FileOf(from) - FileOf(to)), std::abs(RankOf(from) - RankOf(to)));
}

template <class Sink>
void AddPawnTerms(const BoardState& b, const SideView& side, const PawnFiles& own,
                  const PawnFiles& enemy, int enemyPawn, int ownKing, int enemyKing, Sink& add) {
  const int forward = side.White ? 12 : -12;
  for (int file = 1; file <= 8; ++file) {
    if (own.Count[file] > 1) add(kTermDoubledPawn, own.Count[file] - 1);
  }
  for (int rank = 2; rank <= 7; ++rank) {
    for (int file = 1; file <= 8; ++file) {
      const int square = SquareOf(file, rank);
      if (b.Board[square] != side.Pawn) continue;
      const int ownRank = OwnRank(side, rank);
      add(kTermMaterial + kTermPawn, 1);
      add(kTermSquare + kTermPawn * 64 + OwnSquare(side, file, rank), 1);
      const bool isolated = own.Count[file - 1] == 0 && own.Count[file + 1] == 0;
      if (isolated) add(kTermIsolatedPawn, 1);
      // Passed: no enemy pawn ahead on its file or beside it.
      bool passed = true;
      for (int f = file - 1; f <= file + 1; ++f) {
        if (side.White ? enemy.Highest[f] > rank : enemy.Lowest[f] < rank) passed = false;
      }
      if (passed) {
        add(kTermPassedPawn + ownRank - 1, 1);
        bool free = true;
        for (int s = square + forward; b.Board[s] != kBorder; s += forward) {
          if (b.Board[s] != kEmpty) free = false;
        }
        if (free) add(kTermPassedFreePath + ownRank - 1, 1);
        // In the endgame the kings race for the square ahead of it.
        add(kTermPassedOwnKing, KingDistance(ownKing, square + forward));
        add(kTermPassedEnemyKing, KingDistance(enemyKing, square + forward));
      }
      if (b.Board[square - 1] == side.Pawn || b.Board[square + 1] == side.Pawn ||
          b.Board[square - forward - 1] == side.Pawn ||
          b.Board[square - forward + 1] == side.Pawn) {
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
        if (!supported && PawnAttacks(b, square + forward, enemyPawn)) add(kTermBackwardPawn, 1);
      }
    }
  }
}

template <class Sink>
void AddPieceTerms(const BoardState& b, const SideView& side, const PawnFiles& own,
                   const PawnFiles& enemy, int enemyPawn, int enemyKing, Sink& add) {
  const int enemyKingFile = FileOf(enemyKing);
  const int enemyKingRank = RankOf(enemyKing);
  auto nearEnemyKing = [&](int square) {
    return std::abs(FileOf(square) - enemyKingFile) <= 1 &&
           std::abs(RankOf(square) - enemyKingRank) <= 1;
  };
  // A square a piece may go to: empty or the enemy's, and not guarded by an
  // enemy pawn.
  auto reachable = [&](int code, int square) {
    return (code == kEmpty || code >= kWhiteMarker ||
            (IsPiece(code) && IsWhitePiece(code) != side.White)) &&
           !PawnAttacks(b, square, enemyPawn);
  };
  int bishops = 0;
  for (int rank = 1; rank <= 8; ++rank) {
    for (int file = 1; file <= 8; ++file) {
      const int square = SquareOf(file, rank);
      const int code = b.Board[square];
      int kind = -1;
      if (code == side.Knight) kind = kTermKnight;
      if (code == side.Bishop) kind = kTermBishop;
      if (code == side.Rook) kind = kTermRook;
      if (code == side.Queen) kind = kTermQueen;
      if (code == side.King) kind = kTermKing;
      if (kind < 0) continue;
      add(kTermSquare + kind * 64 + OwnSquare(side, file, rank), 1);
      if (kind == kTermKing) continue;
      add(kTermMaterial + kind, 1);
      if (kind == kTermBishop) ++bishops;
      int mobility = 0;
      int zone = 0;
      auto visit = [&](int target) {
        if (reachable(b.Board[target], target)) ++mobility;
        if (nearEnemyKing(target)) ++zone;
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
      if (kind == kTermRook && own.Count[file] == 0) {
        add(enemy.Count[file] == 0 ? kTermRookOpenFile : kTermRookHalfOpenFile, 1);
      }
    }
  }
  if (bishops >= 2) add(kTermBishopPair, 1);
}

template <class Sink>
void AddKingShelter(const BoardState& b, const SideView& side, int king, const PawnFiles& own,
                    Sink& add) {
  const int forward = side.White ? 12 : -12;
  const int kingFile = FileOf(king);
  for (int file = std::max(1, kingFile - 1); file <= std::min(8, kingFile + 1); ++file) {
    if (own.Count[file] == 0) add(kTermKingOpenFile, 1);
    const int column = king + (file - kingFile);
    if (b.Board[column + forward] == side.Pawn) add(kTermKingShield, 1);
    if (b.Board[column + 2 * forward] == side.Pawn) add(kTermKingShield, 1);
  }
}

// Every term of the position to sink(term, count), signed for White.
template <class Sink>
int WalkTerms(const BoardState& b, Sink& sink) {
  const PawnFiles whitePawns = PawnFilesOf(b, kWhitePawn);
  const PawnFiles blackPawns = PawnFilesOf(b, kBlackPawn);
  const int whiteKing = b.WhiteKingSquare;
  const int blackKing = b.BlackKingSquare;
  auto white = [&](int term, int count) { sink(term, count); };
  auto black = [&](int term, int count) { sink(term, -count); };
  AddPawnTerms(b, kWhiteView, whitePawns, blackPawns, kBlackPawn, whiteKing, blackKing, white);
  AddPawnTerms(b, kBlackView, blackPawns, whitePawns, kWhitePawn, blackKing, whiteKing, black);
  AddPieceTerms(b, kWhiteView, whitePawns, blackPawns, kBlackPawn, blackKing, white);
  AddPieceTerms(b, kBlackView, blackPawns, whitePawns, kWhitePawn, whiteKing, black);
  AddKingShelter(b, kWhiteView, whiteKing, whitePawns, white);
  AddKingShelter(b, kBlackView, blackKing, blackPawns, black);
  sink(kTermTempo, b.WhiteToMove ? 1 : -1);
  int phase = 0;
  for (int square = 0; square < kSquareCount; ++square) {
    switch (b.Board[square]) {
      case kWhiteKnight:
      case kBlackKnight:
      case kWhiteBishop:
      case kBlackBishop: phase += 1; break;
      case kWhiteRook:
      case kBlackRook: phase += 2; break;
      case kWhiteQueen:
      case kBlackQueen: phase += 4; break;
      default: break;
    }
  }
  return std::min(phase, kFullPhase);
}

}  // namespace

int DrawishScale(const BoardState& b, bool whiteAhead) {
  // Pawns, minor pieces, rooks, queens and the colour of the bishops' squares,
  // for White [0] and Black [1].
  int pawns[2] = {}, minors[2] = {}, rooks[2] = {}, queens[2] = {};
  int bishops[2] = {}, lightBishops[2] = {};
  for (int square = 0; square < kSquareCount; ++square) {
    const int code = b.Board[square];
    if (!IsPiece(code)) continue;
    const int side = IsWhitePiece(code) ? 0 : 1;
    switch (code) {
      case kWhitePawn:
      case kBlackPawn: ++pawns[side]; break;
      case kWhiteKnight:
      case kBlackKnight: ++minors[side]; break;
      case kWhiteBishop:
      case kBlackBishop:
        ++minors[side];
        ++bishops[side];
        if ((FileOf(square) + RankOf(square)) % 2 == 1) ++lightBishops[side];
        break;
      case kWhiteRook:
      case kBlackRook: ++rooks[side]; break;
      case kWhiteQueen:
      case kBlackQueen: ++queens[side]; break;
      default: break;
    }
  }
  const int strong = whiteAhead ? 0 : 1;
  const int weak = 1 - strong;
  auto pieces = [&](int side) { return 3 * minors[side] + 5 * rooks[side] + 9 * queens[side]; };
  if (pawns[strong] == 0) {
    // A lone minor piece cannot mate; with no pawn, less than a rook more is
    // mostly a draw (rook against minor, rook and minor against rook).
    if (pieces(strong) <= 3) return 0;
    if (pieces(strong) - pieces(weak) <= 3) return kFullScale / 4;
  }
  // Bishops on squares of opposite colours, nothing else: the defender holds a
  // blockade on the other colour.
  if (minors[0] == 1 && minors[1] == 1 && bishops[0] == 1 && bishops[1] == 1 &&
      rooks[0] + rooks[1] + queens[0] + queens[1] == 0 && lightBishops[0] != lightBishops[1]) {
    return kFullScale / 2;
  }
  return kFullScale;
}

std::int32_t TaperedEvaluate(const BoardState& b, const TaperedWeights& w) {
  std::int32_t mg = 0;
  std::int32_t eg = 0;
  auto sum = [&](int term, int count) {
    mg += count * w[static_cast<std::size_t>(term)].Mg;
    eg += count * w[static_cast<std::size_t>(term)].Eg;
  };
  const int phase = WalkTerms(b, sum);
  std::int32_t white = (mg * phase + eg * (kFullPhase - phase)) / kFullPhase;
  white = white * DrawishScale(b, white > 0) / kFullScale;
  return b.WhiteToMove ? white : -white;
}

void CountTerms(const BoardState& b, TermCounts& counts) {
  counts.Count.fill(0);
  auto count = [&](int term, int n) {
    counts.Count[static_cast<std::size_t>(term)] += static_cast<std::int16_t>(n);
  };
  counts.Phase = WalkTerms(b, count);
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
