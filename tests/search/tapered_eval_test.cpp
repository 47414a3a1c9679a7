// The tapered evaluation: colour-blind, the sum of its counts, and right about
// the terms it names.
#include "search/tapered_eval.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "board/board_test_support.h"
#include "board/legal_move.h"
#include "board/make_move.h"

namespace zandrell::test {
namespace {

// The same position with the colours exchanged: ranks reversed, cases swapped.
std::string MirroredFen(const std::string& fen) {
  std::istringstream in(fen);
  std::string board, side, castling, passant;
  in >> board >> side >> castling >> passant;
  std::string ranks[8];
  int r = 0;
  for (char c : board) {
    if (c == '/') {
      ++r;
    } else {
      ranks[r] += static_cast<char>(std::isupper(static_cast<unsigned char>(c)) ? std::tolower(c)
                                                                                : std::toupper(c));
    }
  }
  std::string mirrored;
  for (int i = 7; i >= 0; --i) mirrored += ranks[i] + (i > 0 ? "/" : "");
  std::string rights;
  for (char c : castling) {
    rights += static_cast<char>(std::isupper(static_cast<unsigned char>(c)) ? std::tolower(c)
                                                                            : std::toupper(c));
  }
  if (passant != "-") passant[1] = passant[1] == '3' ? '6' : '3';
  return mirrored + (side == "w" ? " b " : " w ") + rights + " " + passant + " 0 1";
}

constexpr const char* kPositions[] = {
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
    "r1bq1rk1/pp2bppp/2n1pn2/3p4/2PP4/2N1PN2/PP3PPP/R2QKB1R w KQ - 0 9",
    "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1",
    "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R b KQkq - 0 1",
    "6k1/5ppp/8/3P4/8/8/5PPP/6K1 w - - 0 1",
    "rnbqkb1r/ppp1pppp/5n2/3pP3/8/8/PPPP1PPP/RNBQKBNR w KQkq d6 0 3",
};

TEST(TaperedEval, SeesBothColoursAlikeAndIsTheSumOfItsCounts) {
  for (const char* fen : kPositions) {
    const BoardState b = FenBoard(fen);
    const BoardState mirrored = FenBoard(MirroredFen(fen));
    EXPECT_EQ(TaperedEvaluate(b), TaperedEvaluate(mirrored)) << fen;
    TermCounts counts;
    CountTerms(b, counts);
    const double white = BlendCounts(counts, kTaperedWeights);
    EXPECT_NEAR(b.WhiteToMove ? white : -white, TaperedEvaluate(b), 1.0) << fen;
  }
}

TEST(TaperedEval, CountsTheTermsItNames) {
  // A passed d-pawn with a free path on White's fifth rank, a pawn up.
  TermCounts counts;
  CountTerms(FenBoard("6k1/5ppp/8/3P4/8/8/5PPP/6K1 w - - 0 1"), counts);
  EXPECT_EQ(counts.Count[kTermPassedPawn + 4], 1);  // d5, White's fifth rank
  EXPECT_EQ(counts.Count[kTermPassedFreePath + 4], 1);
  EXPECT_EQ(counts.Count[kTermMaterial + kTermPawn], 1);  // four pawns against three
  EXPECT_EQ(counts.Phase, 0);
  EXPECT_EQ(counts.Count[kTermKingShield], 0);  // three each

  CountTerms(FenBoard("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1"), counts);
  EXPECT_EQ(counts.Phase, kFullPhase);
  EXPECT_EQ(counts.Count[kTermTempo], 1);
  EXPECT_EQ(counts.Count[kTermBishopPair], 0);  // one pair each

  CountTerms(FenBoard("4k3/8/8/8/8/8/P6P/R3K1BB w - - 0 1"), counts);
  EXPECT_EQ(counts.Count[kTermBishopPair], 1);
  EXPECT_EQ(counts.Count[kTermIsolatedPawn], 2);
  EXPECT_EQ(counts.Count[kTermRookHalfOpenFile] + counts.Count[kTermRookOpenFile], 0);

  // The kings' race to d6, the square ahead of White's passed d5 pawn.
  CountTerms(FenBoard("8/8/8/3P4/8/8/8/k6K w - - 0 1"), counts);
  EXPECT_EQ(counts.Count[kTermPassedOwnKing], 5);    // h1 to d6
  EXPECT_EQ(counts.Count[kTermPassedEnemyKing], 5);  // a1 to d6

  // A knight where a pawn takes it.
  CountTerms(FenBoard("4k3/8/3p4/4N3/8/8/8/4K3 w - - 0 1"), counts);
  EXPECT_EQ(counts.Count[kTermPawnThreat], 1);  // knights first

  // Rook and knight together on four squares by the black king (g7, g8; g8, h7).
  CountTerms(FenBoard("7k/8/5N2/8/8/8/8/4K1R1 w - - 0 1"), counts);
  EXPECT_EQ(counts.Count[kTermKingAttackTotal + 4], 1);
  EXPECT_EQ(counts.Count[kTermKingZoneAttack + kTermRook - kTermKnight], 2);
}

double Unscaled(const BoardState& b) {
  TermCounts counts;
  CountTerms(b, counts);
  const double white = BlendCounts(counts, kTaperedWeights);
  return b.WhiteToMove ? white : -white;
}

TEST(TaperedEval, EndingsTheSideAheadSeldomWinsAreScaledDown) {
  struct Ending {
    const char* Fen;
    int Scale;
  };
  for (const Ending& ending : {
           Ending{"8/8/4k3/8/8/2N5/8/4K3 w - - 0 1", 0},                    // a knight
           Ending{"8/8/4k3/8/8/2B5/8/4K3 b - - 0 1", 0},                    // a bishop
           Ending{"8/8/4k3/3b4/8/8/8/R3K3 w - - 0 1", kFullScale / 4},      // rook, bishop
           Ending{"8/8/4k3/3r4/8/8/8/RN2K3 w - - 0 1", kFullScale / 4},     // rook and knight
           Ending{"8/8/4k3/4b3/2PP4/1B6/8/4K3 w - - 0 1", kFullScale / 2},  // opposite bishops
           Ending{"8/8/4k3/3b4/2PP4/1B6/8/4K3 w - - 0 1", kFullScale},      // same colour
           Ending{"8/8/4k3/8/8/8/8/Q3K3 w - - 0 1", kFullScale},            // a queen mates
           Ending{"8/8/4k3/3b4/2PP4/1B6/8/R3K3 w - - 0 1", kFullScale},     // a rook beside
       }) {
    const BoardState b = FenBoard(ending.Fen);
    const double unscaled = Unscaled(b);
    EXPECT_EQ(DrawishScale(b, (b.WhiteToMove ? unscaled : -unscaled) > 0), ending.Scale)
        << ending.Fen;
    EXPECT_NEAR(TaperedEvaluate(b), unscaled * ending.Scale / kFullScale, 1.0) << ending.Fen;
    EXPECT_EQ(TaperedEvaluate(b), TaperedEvaluate(FenBoard(MirroredFen(ending.Fen)))) << ending.Fen;
  }
}

// The search's make and unmake keep the piece list the evaluation reads; along
// random lines (captures, castling, promotions, en passant) it must score every
// position as one whose list is rebuilt from the squares, and the same again
// on the way back. The search's caches of pawn structures and of whole
// positions change no score.
TEST(TaperedEval, ScoresAlongMadeAndUnmadeLinesEqualAFreshCount) {
  std::uint64_t random = 0x2545F4914F6CDD1DULL;
  const auto state = std::make_unique<SearchState>();
  auto fresh = [](const BoardState& b) {
    BoardState copy = b;
    RebuildPieceList(copy);
    return TaperedEvaluate(copy);
  };
  for (const char* fen : {kPositions[0], kPositions[2], kPositions[3], kPositions[5],
                          "r3k2r/1P4P1/8/8/8/8/1p4p1/R3K2R w KQkq - 0 1"}) {
    for (int line = 0; line < 20; ++line) {
      BoardState b = FenBoard(fen);
      std::vector<Move> made;
      std::vector<std::int32_t> scores;
      for (int ply = 0; ply < 40; ++ply) {
        MoveList list;
        GenerateMoves(b, list);
        std::vector<Move> legal;
        for (int i = 0; i < list.Count; ++i) {
          if (IsLegalMove(b, list.Moves[i])) legal.push_back(list.Moves[i]);
        }
        if (legal.empty()) break;
        random = random * 6364136223846793005ULL + 1442695040888963407ULL;
        Move m = legal[(random >> 33) % legal.size()];
        scores.push_back(TaperedEvaluate(b));
        // The ply picks where the move keeps the key it restores, as in a search.
        MakeMove(b, m);
        ++b.Ply;
        made.push_back(m);
        ASSERT_EQ(TaperedEvaluate(b), fresh(b)) << fen << " line " << line << " ply " << ply;
        ASSERT_EQ(TaperedEvaluate(b, *state), TaperedEvaluate(b)) << fen << " ply " << ply;
      }
      while (!made.empty()) {
        --b.Ply;
        UnmakeMove(b, made.back());
        made.pop_back();
        EXPECT_EQ(TaperedEvaluate(b), scores.back()) << fen << " line " << line;
        EXPECT_EQ(TaperedEvaluate(b, *state), scores.back()) << fen << " line " << line;
        scores.pop_back();
      }
    }
  }
}

}  // namespace
}  // namespace zandrell::test
