#include "search/strong_search.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "board/attacks.h"
#include "board/legal_move.h"
#include "board/make_move.h"
#include "board/movegen.h"
#include "search/alpha_beta.h"
#include "search/evaluate.h"
#include "search/move_order.h"
#include "search/search_node.h"
#include "search/static_exchange.h"
#include "search/tapered_eval.h"

namespace zandrell {

namespace {

// Ordering scores: the table's move, captures that do not lose material by
// their exchange, the killers and the counter-move, quiet moves by their history
// (within +-kHistoryLimit), and losing captures last.
constexpr std::int32_t kHashMoveScore = 30000000;
constexpr std::int32_t kGoodCaptureScore = 20000000;
constexpr std::int32_t kFirstKillerScore = 19000000;
constexpr std::int32_t kSecondKillerScore = 18900000;
constexpr std::int32_t kCounterMoveScore = 18800000;
constexpr std::int32_t kBadCaptureScore = -20000000;

// Each technique can be switched off alone, to measure it against the rest.
struct Techniques {
  bool ReverseFutility = true;
  bool Razoring = true;
  bool Futility = true;
  bool LateMovePruning = true;
  bool ExchangePruning = true;
  bool QuiesceExchangePruning = true;
  bool InternalReduction = true;
  bool CounterMove = true;
  bool ContinuationHistory = true;
  bool ScaledNullMove = true;
  // Off: over two matches it has come out near +10 Elo, within the noise.
  bool EvalCorrection = false;
  // The tapered evaluation with its tuned weights in place of the plain one.
  bool TaperedEvaluation = true;
};
constexpr Techniques kUse{};

constexpr int kNullMoveMinDepth = 3;
constexpr int kReductionMinDepth = 3;
constexpr int kFiftyMoveHalfMoves = 100;
constexpr int kReverseFutilityDepth = 7;
constexpr std::int32_t kReverseFutilityMargin = 75;
constexpr int kRazorDepth = 2;
constexpr std::int32_t kRazorMargin = 300;
constexpr int kFutilityDepth = 8;
constexpr std::int32_t kFutilityBase = 90;
constexpr std::int32_t kFutilityMargin = 90;
constexpr int kLateMoveDepth = 8;
constexpr int kExchangePruneDepth = 6;
constexpr std::int32_t kCaptureLossPerPly = 100;
constexpr std::int32_t kQuietLossPerPly2 = 30;
constexpr int kReductionMoves = 64;
constexpr int kMaxQuietsTried = 64;
constexpr std::int32_t kDeltaMargin = 200;
// A quiet move's histories together move its reduction by a ply per this much.
constexpr std::int32_t kHistoryPerReductionPly = 8192;
// The evaluation's correction: entries in eighths of a centipawn, within 96
// centipawns; one result moves an entry by at most an eighth of that.
constexpr std::int32_t kCorrectionGrain = 8;
constexpr std::int32_t kCorrectionLimit = 96 * kCorrectionGrain;
constexpr std::int32_t kCorrectionStep = kCorrectionLimit / 8;

// The late-move reduction by depth and move number: grows with the logarithm of both.
const auto kReductions = [] {
  std::array<std::array<std::int8_t, kReductionMoves>, kMaxSearchDepth + 1> table{};
  for (int d = 1; d <= kMaxSearchDepth; ++d) {
    for (int n = 1; n < kReductionMoves; ++n) {
      table[d][n] = static_cast<std::int8_t>(0.75 + std::log(d) * std::log(n) / 2.25);
    }
  }
  return table;
}();

// Every draw in the tree scores as the root scores a move back to a seen
// position: Contempt for the side to move at the root.
inline std::int32_t DrawScore(const Engine& e) {
  return e.board.Ply % 2 == 1 ? e.tables.Contempt : -e.tables.Contempt;
}

inline int SideIndex(const BoardState& b) { return b.WhiteToMove ? 0 : 1; }

// a1 = 0 to h8 = 63 for a playing square.
constexpr int PlayingIndex(int square) { return (RankOf(square) - 1) * 8 + FileOf(square) - 1; }

// The continuation history that follows the move made at ply of the line, as a
// row by piece and target; none before the line's second move or after a pass.
std::int16_t* ContinuationRow(SearchState& s, int ply) {
  if (!kUse.ContinuationHistory || s.LevelSearch || ply < 2 || s.LineMove[ply].From == 0) {
    return nullptr;
  }
  return &s.ContinuationHistory[s.LinePiece[ply]][PlayingIndex(s.LineMove[ply].To)][0][0];
}

inline int ContinuationIndex(const BoardState& b, const Move& m) {
  return b.Board[m.From] * 64 + PlayingIndex(m.To);
}

std::int32_t StaticScore(const BoardState& b, SearchState& s) {
  return kUse.TaperedEvaluation && !s.LevelSearch ? TaperedEvaluate(b, s)
                                                  : EvaluateWithMaterial(b, s);
}

// The static evaluation moved by what the search learnt of positions with these
// pawns; correction is left pointing at the entry used (none without one).
std::int32_t CorrectedScore(const BoardState& b, SearchState& s, std::int16_t*& correction) {
  const std::int32_t raw = StaticScore(b, s);
  correction = nullptr;
  if (!kUse.EvalCorrection || !kUse.TaperedEvaluation || s.LevelSearch) return raw;
  correction =
      &s.CorrectionHistory[b.WhiteToMove ? 0 : 1]
                          [(s.EvalPawnKey * 0x9E3779B97F4A7C15ULL) >> (64 - kCorrectionBits)];
  return raw + *correction / kCorrectionGrain;
}

// A node's result against its static evaluation: where the bound shows the
// evaluation wrong, the entry moves toward the difference, more for deeper results.
void LearnCorrection(std::int16_t* correction, std::int32_t staticEval, std::int32_t result,
                     int bound, int depth) {
  if (correction == nullptr || result >= kMateBound || result <= -kMateBound) return;
  const std::int32_t diff = result - staticEval;
  if ((bound == kHashLower && diff <= 0) || (bound == kHashUpper && diff >= 0)) return;
  const std::int32_t step = std::clamp(diff * depth / 2, -kCorrectionStep, kCorrectionStep);
  const std::int32_t h = *correction;
  const std::int32_t next = h + step - h * (step < 0 ? -step : step) / kCorrectionLimit;
  *correction = static_cast<std::int16_t>(std::clamp(next, -kCorrectionLimit, kCorrectionLimit));
}

}  // namespace

bool RepeatsEarlierPosition(const SearchState& s, const BoardState& b) {
  const int here = s.RootKeyIndex + b.Ply - 1;
  const int reach = std::min(b.FiftyCount, here);
  int seenInGame = 0;
  for (int back = 4; back <= reach; back += 2) {
    const int at = here - back;
    if (s.Keys[at] != b.Key) continue;
    // Once on the line after the root, the line can go round again for ever;
    // in the game, the rules want the third time.
    if (at > s.RootKeyIndex || ++seenInGame == 2) return true;
  }
  return false;
}

namespace {

std::int32_t HistoryBonus(int depth) { return std::min(32 * depth * depth, 1600); }

void AddHistory(std::int16_t& entry, std::int32_t bonus) {
  // Gravity: the closer an entry is to the limit, the less a bonus moves it.
  const std::int32_t h = entry;
  const std::int32_t next = h + bonus - h * (bonus < 0 ? -bonus : bonus) / kHistoryLimit;
  entry = static_cast<std::int16_t>(std::clamp(next, -kHistoryLimit, kHistoryLimit));
}

// Pieces other than pawns and king: without them passing can be the best move.
bool HasPieces(const BoardState& b) {
  const int parity = b.WhiteToMove ? 1 : 0;
  for (int slot = 1; slot <= b.PieceCount; ++slot) {
    const int code = b.Board[b.PieceList[slot]];
    if (code >= kWhiteKnight && code <= kBlackBishop && code != kWhiteKing && code != kBlackKing &&
        (code & 1) == parity) {
      return true;
    }
  }
  return false;
}

// Captures only, with stand-pat; captures that lose material by their exchange,
// or that cannot bring the score near alpha, are not searched.
std::int32_t QuiesceCaptures(Engine& e, std::int32_t alpha, std::int32_t beta, int depth) {
  SearchState& s = e.search;
  BoardState& b = e.board;
  s.PvLength[b.Ply] = b.Ply;
  std::int16_t* correction = nullptr;
  const std::int32_t stand = CorrectedScore(b, s, correction);
  if (depth == 0) return stand;
  if (stand >= beta) return stand;
  if (stand > alpha) alpha = stand;

  MoveList list;
  GenerateMoves(b, list, GenerationMode::kCapturesOnly);
  const auto& value = e.tables.PieceValue;
  MoveOrder order;
  for (int i = 0; i < list.Count; ++i) {
    const Move& m = list.Moves[i];
    const std::int32_t score = value[m.Captured] - value[b.Board[m.From]];
    order.Keys[i] = static_cast<std::int64_t>(score) * 256 + i;
  }
  order.Start(list.Count);

  for (int i = 0; i < list.Count; ++i) {
    Move& m = list.Moves[order.At(i)];
    if (m.Promotion == 0) {
      const int taken = m.EnPassant != 0 ? int{kWhitePawn} : int{m.Captured};
      if (stand + value[taken] + kDeltaMargin <= alpha) continue;
      if (kUse.QuiesceExchangePruning && ExchangeLoss(b, m, value) < 0) continue;
    }
    std::int32_t score = 0;
    const PieceTerms terms = s.Terms;
    const bool legal = MakeSearchMove(b, s, m);
    if (legal) {
      ++s.NodeCount;
      ++s.QNodeCount;
      score = -QuiesceCaptures(e, -beta, -alpha, depth - 1);
    }
    --b.Ply;
    UnmakeMove(b, m);
    s.Terms = terms;
    if (legal && score > alpha) {
      if (score >= beta) return beta;
      alpha = score;
      UpdatePv(s, b.Ply, m);
    }
  }
  return alpha;
}

std::int32_t Node(Engine& e, std::int32_t alpha, std::int32_t beta, int depth, bool mayPass) {
  SearchState& s = e.search;
  BoardState& b = e.board;
  // Whatever ends this node early, the clock too, its line is empty, never one
  // left from before.
  s.PvLength[b.Ply] = b.Ply;
  if (NodeOutOfTime(e)) {
    s.TimeUp = true;
    return 0;
  }
  const int ply = b.Ply;
  s.Keys[s.RootKeyIndex + ply - 1] = b.Key;
  if (RepeatsEarlierPosition(s, b)) return DrawScore(e);
  // The hundredth half-move without a capture or a pawn move ends the game
  // unless it mates.
  if (b.FiftyCount >= kFiftyMoveHalfMoves && (!InCheck(b) || HasLegalMove(b))) return DrawScore(e);
  if (depth <= 0) return QuiesceCaptures(e, alpha, beta, kQuiesceDepthLimit);
  const bool inCheck = InCheck(b);

  // No line from here can beat a mate on the next move or be worse than mated now.
  alpha = std::max(alpha, ply - kMateScore);
  beta = std::min(beta, kMateScore - ply - 1);
  if (alpha >= beta) return alpha;

  const bool pvNode = beta - alpha > 1;
  HashEntry found{};
  const HashEntry* entry = ProbeHash(s.Hash, b.Key, found) ? &found : nullptr;
  const Move hashMove = HashMove(entry);
  const bool trusted = entry != nullptr && HashScoreTrusted(*entry, b.FiftyCount);
  if (trusted && entry->Depth >= depth) {
    const std::int32_t score = ScoreFromHash(entry->Score, ply);
    if (entry->Bound == kHashLower && score >= beta) return beta;
    if (entry->Bound == kHashUpper && score <= alpha) return alpha;
    // An exact score ends only a null-window node: a principal line searches on
    // for its moves.
    if (entry->Bound == kHashExact && !pvNode) return score <= alpha ? alpha : beta;
  }

  const int searchDepth = depth;
  if (inCheck && ply < kCheckExtensionPlyLimit) ++depth;

  // The static evaluation, sharpened by the table's bound where it applies.
  std::int32_t eval = -kMateScore;
  bool improving = false;
  std::int16_t* correction = nullptr;
  if (!inCheck) {
    eval = CorrectedScore(b, s, correction);
    s.StaticEval[ply] = eval;
    improving = ply >= 4 && s.StaticEval[ply - 2] != -kMateScore && eval > s.StaticEval[ply - 2];
    if (trusted) {
      const std::int32_t score = ScoreFromHash(entry->Score, ply);
      if (score > -kMateBound && score < kMateBound &&
          ((entry->Bound == kHashLower && score > eval) ||
           (entry->Bound == kHashUpper && score < eval))) {
        eval = score;
      }
    }
  } else {
    s.StaticEval[ply] = -kMateScore;
  }

  if (!pvNode && !inCheck && beta < kMateBound && beta > -kMateBound) {
    // Reverse futility: far enough above beta that a shallow search will not come back under.
    if (kUse.ReverseFutility && depth <= kReverseFutilityDepth &&
        eval - kReverseFutilityMargin * (depth - (improving ? 1 : 0)) >= beta) {
      return beta;
    }
    // Razoring: so far below alpha that only captures could help.
    if (kUse.Razoring && depth <= kRazorDepth && eval + kRazorMargin * depth < alpha) {
      const std::int32_t score = QuiesceCaptures(e, alpha, alpha + 1, kQuiesceDepthLimit);
      if (score <= alpha) return alpha;
    }
    // Null move: if passing still holds beta, a real move will too. The further
    // the evaluation is above beta, the shallower the check.
    if (mayPass && depth >= kNullMoveMinDepth && eval >= beta && HasPieces(b)) {
      const int reduction = kUse.ScaledNullMove ? 3 + depth / 4 + std::min(3, (eval - beta) / 200)
                                                : (depth > 6 ? 3 : 2);
      s.LineMove[ply] = kNoMove;
      s.LinePiece[ply] = 0;
      MakeNullMove(b);
      ++b.Ply;
      const std::int32_t score = -Node(e, -beta, -beta + 1, depth - 1 - reduction, false);
      --b.Ply;
      UnmakeNullMove(b);
      if (s.TimeUp) return 0;
      if (score >= beta) return beta;
    }
  }
  // Without a move from the table this node was not searched before: a ply less.
  if (kUse.InternalReduction && hashMove.From == 0 && depth >= 4) --depth;

  MoveList list;
  GenerateMoves(b, list);
  const auto& value = e.tables.PieceValue;
  const int side = SideIndex(b);
  const Move& killer1 = s.KillerMove1[ply];
  const Move& killer2 = s.KillerMove2[ply];
  Move counter = kNoMove;
  if (kUse.CounterMove && ply >= 3 && s.LineMove[ply - 1].From != 0) {
    counter = s.CounterMove[s.LinePiece[ply - 1]][s.LineMove[ply - 1].To];
  }
  // Quiet moves also go by how they did after the opponent's last move and after
  // one's own before it.
  std::int16_t* const replyHistory = ContinuationRow(s, ply - 1);
  std::int16_t* const followHistory = ContinuationRow(s, ply - 2);
  auto quietHistory = [&](const Move& m) {
    std::int32_t h = s.QuietHistory[side][m.From][m.To];
    const int at = ContinuationIndex(b, m);
    if (replyHistory != nullptr) h += replyHistory[at];
    if (followHistory != nullptr) h += followHistory[at];
    return h;
  };
  auto addHistory = [&](const Move& m, std::int32_t bonus) {
    AddHistory(s.QuietHistory[side][m.From][m.To], bonus);
    const int at = ContinuationIndex(b, m);
    if (replyHistory != nullptr) AddHistory(replyHistory[at], bonus);
    if (followHistory != nullptr) AddHistory(followHistory[at], bonus);
  };
  std::int32_t exchange[kMaxMoves];
  MoveOrder order;
  for (int i = 0; i < list.Count; ++i) {
    const Move& m = list.Moves[i];
    std::int32_t score;
    exchange[i] = 0;
    if (hashMove.From != 0 && SameMove(m, hashMove)) {
      score = kHashMoveScore;
    } else if (IsCaptureOrPromotion(m)) {
      exchange[i] = ExchangeLoss(b, m, value);
      const int taken = m.EnPassant != 0 ? kWhitePawn : (m.Captured < kEmpty ? m.Captured : 0);
      const std::int32_t gain =
          value[taken] + (m.Promotion != 0 ? value[m.Promotion] : 0) - value[b.Board[m.From]] / 16;
      score = (exchange[i] >= 0 ? kGoodCaptureScore : kBadCaptureScore) + gain;
    } else if (SameMove(m, killer1)) {
      score = kFirstKillerScore;
    } else if (SameMove(m, killer2)) {
      score = kSecondKillerScore;
    } else if (SameMove(m, counter)) {
      score = kCounterMoveScore;
    } else {
      score = quietHistory(m);
    }
    order.Keys[i] = static_cast<std::int64_t>(score) * 256 + i;
  }
  order.Start(list.Count);

  const std::int32_t alphaBefore = alpha;
  Move best = kNoMove;
  int legalCount = 0;
  int quietsTried = 0;
  // The quiet moves searched before a cut-off lose history by it.
  int quietsSearched = 0;
  Move quiets[kMaxQuietsTried];
  for (int i = 0; i < list.Count; ++i) {
    const int index = order.At(i);
    Move& m = list.Moves[index];
    const bool quiet = !IsCaptureOrPromotion(m);
    const bool special = SameMove(m, killer1) || SameMove(m, killer2) || SameMove(m, counter);
    // Shallow nodes leave out moves unlikely to matter once one move is searched:
    // late quiet moves, quiet moves far below alpha, and moves that lose
    // material; none that gives check.
    const bool mayPrune = legalCount > 0 && !inCheck && alpha > -kMateBound;
    std::int32_t loss = exchange[index];
    if (mayPrune && quiet && depth <= kExchangePruneDepth &&
        IsAttacked(b, m.To, b.WhiteToMove ? Side::kBlack : Side::kWhite)) {
      loss = ExchangeLoss(b, m, value);
    }
    const std::int32_t history = quiet ? quietHistory(m) : 0;
    std::int32_t score = 0;
    const PieceTerms terms = s.Terms;
    const bool legal = MakeSearchMove(b, s, m);
    if (!legal) {
      --b.Ply;
      UnmakeMove(b, m);
      s.Terms = terms;
      continue;
    }
    ++legalCount;
    const bool givesCheck = InCheck(b);
    bool prune = false;
    if (mayPrune && !givesCheck) {
      const int lateLimit = (3 + depth * depth) / (improving ? 1 : 2);
      if (quiet && !special) {
        prune = (kUse.LateMovePruning && depth <= kLateMoveDepth && quietsTried >= lateLimit) ||
                (kUse.Futility && depth <= kFutilityDepth &&
                 eval + kFutilityBase + kFutilityMargin * depth <= alpha);
      }
      prune = prune ||
              (kUse.ExchangePruning && depth <= kExchangePruneDepth &&
               loss < (quiet ? -kQuietLossPerPly2 * depth * depth : -kCaptureLossPerPly * depth));
    }
    if (prune) {
      --b.Ply;
      UnmakeMove(b, m);
      s.Terms = terms;
      if (quiet) ++quietsTried;
      continue;
    }
    ++s.NodeCount;
    s.LineMove[ply] = m;
    // A Chess960 castling's target may be left empty: the king is the piece that moved.
    s.LinePiece[ply] = m.Castle > kBlackLong
                           ? static_cast<std::uint8_t>(b.WhiteToMove ? kBlackKing : kWhiteKing)
                           : b.Board[m.To];
    if (legalCount == 1) {
      score = -Node(e, -beta, -alpha, depth - 1, true);
    } else {
      // Late moves that are quiet or lose material are searched shorter first.
      int reduction = 0;
      if (depth >= kReductionMinDepth && (quiet || exchange[index] < 0)) {
        reduction = kReductions[std::min(depth, kMaxSearchDepth)]
                               [std::min(legalCount, kReductionMoves - 1)];
        if (pvNode) --reduction;
        if (givesCheck || inCheck) --reduction;
        if (special) --reduction;
        if (!improving) ++reduction;
        if (quiet) reduction -= history / kHistoryPerReductionPly;
        reduction = std::clamp(reduction, 0, depth - 2);
      }
      score = -Node(e, -alpha - 1, -alpha, depth - 1 - reduction, true);
      if (score > alpha && reduction > 0 && !s.TimeUp) {
        score = -Node(e, -alpha - 1, -alpha, depth - 1, true);
      }
      if (score > alpha && score < beta && !s.TimeUp) {
        score = -Node(e, -beta, -alpha, depth - 1, true);
      }
    }
    --b.Ply;
    UnmakeMove(b, m);
    s.Terms = terms;
    if (s.TimeUp) return 0;
    if (score > alpha) {
      if (score >= beta) {
        if (quiet) {
          const std::int32_t bonus = HistoryBonus(depth);
          addHistory(m, bonus);
          for (int q = 0; q < quietsSearched; ++q) addHistory(quiets[q], -bonus);
          if (!SameMove(m, killer1)) {
            s.KillerMove2[ply] = s.KillerMove1[ply];
            s.KillerMove1[ply] = m;
          }
          if (ply >= 3 && s.LineMove[ply - 1].From != 0) {
            s.CounterMove[s.LinePiece[ply - 1]][s.LineMove[ply - 1].To] = m;
          }
          LearnCorrection(correction, s.StaticEval[ply], beta, kHashLower, searchDepth);
        }
        StoreHash(s.Hash, b.Key, m, searchDepth, beta, kHashLower, ply);
        return beta;
      }
      alpha = score;
      best = m;
      UpdatePv(s, ply, m);
    }
    if (quiet) {
      if (quietsSearched < kMaxQuietsTried) quiets[quietsSearched++] = m;
      ++quietsTried;
    }
  }

  if (legalCount == 0) {
    const std::int32_t score = inCheck ? ply - kMateScore : DrawScore(e);
    StoreHash(s.Hash, b.Key, kNoMove, searchDepth, score, kHashExact, ply);
    return score;
  }
  const std::uint8_t bound = alpha > alphaBefore ? kHashExact : kHashUpper;
  if (best.From == 0 || !IsCaptureOrPromotion(best)) {
    LearnCorrection(correction, s.StaticEval[ply], alpha, bound, searchDepth);
  }
  StoreHash(s.Hash, b.Key, best, searchDepth, alpha, bound, ply);
  return alpha;
}

}  // namespace

void PrepareStrongSearch(Engine& e) {
  SearchState& s = e.search;
  const auto& played = e.record.Played;
  const std::size_t kept = std::min(played.size(), std::size_t{kGameKeysKept - 1});
  int at = 0;
  for (std::size_t i = played.size() - kept; i < played.size(); ++i)
    s.Keys[at++] = played[i].Before.Key;
  s.RootKeyIndex = at;
  s.Keys[at] = e.board.Key;
  ++s.Hash.Generation;
  // The history of earlier thinks still orders well, but counts for less.
  auto halve = [](std::int16_t* first, std::size_t count) {
    for (std::int16_t* h = first; h != first + count; ++h) *h = static_cast<std::int16_t>(*h / 2);
  };
  halve(&s.QuietHistory[0][0][0], sizeof s.QuietHistory / sizeof(std::int16_t));
  halve(&s.ContinuationHistory[0][0][0][0], sizeof s.ContinuationHistory / sizeof(std::int16_t));
  std::fill(std::begin(s.LineMove), std::end(s.LineMove), kNoMove);
  std::fill(std::begin(s.StaticEval), std::end(s.StaticEval), -kMateScore);
}

std::int32_t StrongAlphaBeta(Engine& e, std::int32_t alpha, std::int32_t beta, int depth) {
  return Node(e, alpha, beta, depth, true);
}

}  // namespace zandrell
