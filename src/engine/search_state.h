#pragma once
// State of the search: principal variation, killers, history, counters and the
// clock of the current move, and the phase-dependent evaluation tables.
#include <array>
#include <atomic>
#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "board/board_tables.h"
#include "board/types.h"
#include "engine/limits.h"

namespace zandrell {

struct SharedThink;

class SearchReporter;

constexpr std::int32_t kMateScore = 100000;
constexpr std::int32_t kHistoryLimit = 16384;

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

// The evaluation's pawn terms that depend only on the per-file pawn counts Key
// (PieceTerms::PawnFiles): their Score, the files holding pawns of each colour
// (bit f for file f), and the files whose pawns are passed on all three files and
// so also score by their squares.
struct PawnFileScore {
  std::uint64_t Key;
  std::int32_t Score;
  std::uint16_t White, Black;
  std::uint16_t WhiteFree, BlackFree;
};

constexpr int kPawnFileCacheBits = 11;

// The tapered evaluation's terms of the pawns alone (their material, squares
// and structure), middle game and endgame for White, by the pawns' Key (0: an
// empty slot); Passed flags the passed pawns (bit (rank - 1) * 8 + file - 1),
// whose path and king distances depend on more than pawns.
struct PawnStructureScore {
  std::uint64_t Key = 0;
  std::int32_t Mg = 0, Eg = 0;
  std::uint64_t Passed = 0;
};

constexpr int kPawnStructureCacheBits = 11;

// A position's tapered evaluation by its Key (0: an empty slot), with its
// pawns' key; a node and the quiescence below it often judge one position twice.
struct EvalCacheEntry {
  std::uint64_t Key = 0;
  std::uint64_t PawnKey = 0;
  std::int32_t Score = 0;
};

constexpr int kEvalCacheBits = 14;

// Entries of the evaluation's correction by pawn structure, per side to move.
constexpr int kCorrectionBits = 14;

// One position remembered by the hash table: the upper half of its key (the
// lower half chose the bucket), the best move's squares, the depth searched, the
// score (mate scores counted from this position) and what the score bounds.
struct HashEntry {
  std::uint32_t Check;
  std::int32_t Score;
  std::uint8_t From;
  std::uint8_t To;
  std::uint8_t Promotion;
  std::int8_t Depth;
  std::uint8_t Bound;       // kHashExact, kHashLower or kHashUpper; 0 for an unused entry
  std::uint8_t Generation;  // the think that stored it
};

// An entry as the table keeps it, read and written by several threads at once
// without a lock: Data packs the entry, Lock is the key's upper half XOR Data.
// A slot that one thread reads while another writes it mixes two writes, and
// the mixture fails the check and reads as empty.
struct HashSlot {
  std::atomic<std::uint64_t> Lock{0};
  std::atomic<std::uint64_t> Data{0};
};

// The opt-in hash table ("Hash" in megabytes). Empty while the setting is 0: the
// search then runs without it and without any of the search it enables. The
// slots are shared: the search state of every thread of a think points at the
// same slots.
struct HashTableState {
  int SizeMb = 0;
  std::shared_ptr<HashSlot[]> Slots;  // buckets of kHashBucket slots
  std::uint64_t SlotCount = 0;
  std::uint64_t BucketMask = 0;
  std::uint8_t Generation = 0;
};

struct SearchState {
  // The hash table was made for a Chess960 game, not asked for.
  bool HashMadeFor960 = false;
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
  // Past this moment (monotonic seconds) every iteration stops, the first included:
  // the clock would run out.
  double HardDeadline = std::numeric_limits<double>::infinity();
  // The think's limits beyond the clock: no time limit at all (fixed depth, nodes
  // or until stopped), and a node count (0: none).
  bool FixedDepth = false;
  std::int64_t NodeLimit = 0;
  // Set by whoever drives the think (move now, stop, end of input): the search
  // ends as at the end of its time.
  bool StopRequested = false;
  // Who hears of the think's progress and looks at the input now and then.
  SearchReporter* Reporter = nullptr;
  int InputCheckCountdown = 0;
  // What the root search found about the game: one of the game-result codes
  // (0: the game goes on); the caller decides what to make of it.
  std::int32_t GameEnd = 0;
  // The best move's expected reply from the last finished iteration (the empty
  // move when its line was shorter).
  Move ExpectedReply{};
  // The root moves of the current iteration: how many are legal, and how many of
  // them have been searched.
  int RootMovesTotal = 0;
  int RootMovesSearched = 0;
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
  // Pawn file scores met in the search, by a hash of their key; every entry is
  // right for its own key.
  PawnFileScore PawnFileCache[1 << kPawnFileCacheBits];
  // The same for the tapered evaluation's pawn structures.
  PawnStructureScore PawnStructureCache[1 << kPawnStructureCacheBits];
  // The same for whole positions.
  EvalCacheEntry EvalCache[1 << kEvalCacheBits];
  // The pawns' key of the position the tapered evaluation judged last.
  std::uint64_t EvalPawnKey = 0;
  // How far the search's results lay from the static evaluation, by side to
  // move and a hash of the pawns' squares (eighths of a centipawn).
  std::int16_t CorrectionHistory[2][1 << kCorrectionBits];
  HashTableState Hash;
  // The ordering of the search the table enables: quiet moves' history by side,
  // from and to square (kept within kHistoryLimit), the reply that refuted each
  // piece's move to a square, and per ply of the line the move that led on from
  // it, the piece it put on its square, and the static evaluation there (none
  // when in check).
  std::int16_t QuietHistory[2][kSquareCount][kSquareCount];
  Move CounterMove[kEmpty][kSquareCount];
  // How quiet moves fared as the reply to a piece's move to a square, and as
  // the move after one's own: by the earlier piece and its square, then the
  // piece moving and its target (squares a1 = 0 to h8 = 63).
  std::int16_t ContinuationHistory[kEmpty][64][kEmpty][64];
  Move LineMove[kMaxPly];
  std::uint8_t LinePiece[kMaxPly];
  std::int32_t StaticEval[kMaxPly];
  // One stack of position keys: the game's up to the root (at RootKeyIndex),
  // then the line searched from it, the key at ply p at RootKeyIndex + p - 1.
  // A repetition is one scan back, as far as the fifty-move counter reaches.
  std::uint64_t Keys[kGameKeysKept + kMaxPly];
  int RootKeyIndex = 0;
  // The root moves the current iteration may search (empty: all) and those it
  // leaves out (the better lines' moves when several lines are wanted).
  std::vector<Move> RootOnly;
  std::vector<Move> RootSkipped;
  // The think's own clock: its start (monotonic seconds), its allotment and its
  // last iteration. A think begun without a clock (pondering) may be put under
  // one while it runs.
  double ThinkStart = 0.0;
  float Allotment = 0.0f;
  int MaxIterations = 0;
  // Which search the think runs, chosen once at its start: the plain one, or
  // with the hash table the stronger one with its own root.
  bool Strong = false;
  // The stronger search at a playing level searches as when its plans were
  // measured: with the plain search's evaluation and without the techniques
  // added since, so that the levels stay where they were calibrated.
  bool LevelSearch = false;
  // A think on a time budget starts no iteration after SoftDeadline and runs
  // none past HardDeadline; the plain allotment then plays no part. The budget
  // (seconds) is kept for a ponder that turns into the engine's own think.
  bool OnBudget = false;
  double SoftDeadline = std::numeric_limits<double>::infinity();
  double BudgetOptimum = 0.0;
  double BudgetMaximum = 0.0;
  // The stronger search's root moves, best first, kept from one iteration to
  // the next.
  MoveList RootList{};
  // The state of the generator a playing level draws its choices from.
  std::uint64_t LevelRandom = 0;
  // A helper thread's iterations search this many plies deeper than their
  // number, so that the threads of a think are not all at one depth.
  int DepthOffset = 0;
  // While helper threads search beside this one: the nodes they have counted.
  const std::atomic<std::int64_t>* HelperNodes = nullptr;
  // The engine's own thread, while helpers search one line beside it: where they
  // leave iterations finished before its own. Overtaken: a helper finished the
  // depth of the current iteration first, which ends that iteration.
  SharedThink* Overtaking = nullptr;
  bool Overtaken = false;
  // A helper: where it leaves each iteration it finishes.
  SharedThink* FinishedTo = nullptr;
  // Position text reached by each legal root move, filled once per think.
  std::vector<std::pair<Move, std::string>> RootTexts;
};

}  // namespace zandrell
