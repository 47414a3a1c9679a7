// The search's running piece terms (material, square values, pawn and rook file
// counts, queens away from home) against a recount after every move and take-back,
// and the evaluation made from them against the one made from scratch.
#include <string_view>

#include "board/make_move.h"
#include "board/movegen.h"
#include "search/material_score.h"
#include "search_test_support.h"

namespace zandrell::test {
namespace {

class PieceTermsTest : public SearchTest {
 protected:
  // Every generated move to the given depth, legal or not, as the search makes them.
  void Walk(int depth) {
    BoardState& b = E().board;
    SearchState& s = E().search;
    MoveList list;
    GenerateMoves(b, list);
    for (int i = 0; i < list.Count; ++i) {
      Move& m = list.Moves[i];
      const PieceTerms saved = s.Terms;
      const PieceTerms before = MoveSquaresTerms(b, s, m);
      MakeMove(b, m);
      ApplyTermsChange(s.Terms, before, MoveSquaresTerms(b, s, m));
      ExpectRecount();
      if (depth > 1) Walk(depth - 1);
      UnmakeMove(b, m);
      s.Terms = saved;
      ExpectRecount();
      if (HasFailure()) return;
    }
  }

  void ExpectRecount() {
    const PieceTerms recount = PieceTermsOf(E().board, E().search);
    const PieceTerms& t = E().search.Terms;
    ASSERT_EQ(t.Material, recount.Material);
    ASSERT_EQ(t.PawnFiles, recount.PawnFiles);
    ASSERT_EQ(t.RookFiles, recount.RookFiles);
    ASSERT_EQ(t.QueensAway, recount.QueensAway);
    // The evaluation from the running terms and the pawn file cache is the whole one.
    ASSERT_EQ(EvaluateWithMaterial(E().board, E().search),
              Evaluate(E().board, E().tables, E().search));
  }

  void Check(std::string_view fen, int depth) {
    Fen(fen);
    SelectPhaseTables(E().board, E().tables, E().search);
    E().search.Terms = PieceTermsOf(E().board, E().search);
    Walk(depth);
  }
};

TEST_F(PieceTermsTest, FollowCastlingAndEnPassant) {
  Check("r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1", 3);
  Check("8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1", 4);
}

TEST_F(PieceTermsTest, FollowPromotionsAndCapturesOfPromotedPieces) {
  Check("n1n5/PPPk4/8/8/8/8/4Kppp/5N1N b - - 0 1", 4);
  Check("r3k2r/1P4P1/8/8/8/8/1p4p1/R2QK2R w KQkq - 0 1", 3);
}

}  // namespace
}  // namespace zandrell::test
