// The generation order and the special moves, as the search and the move matcher
// rely on them.
#include <string>
#include <vector>

#include "board/make_move.h"
#include "board/perft.h"
#include "board/position_text.h"
#include "board_test_support.h"

namespace zandrell {
namespace {

using Texts = std::vector<std::string>;

TEST(MoveGenerationTest, StartPositionListsKnightsThenPawnsDoubleStepFirst) {
  BoardState b = test::StartBoard();
  EXPECT_EQ(test::MoveTexts(b), (Texts{"b1a3", "b1c3", "g1f3", "g1h3", "a2a4", "a2a3", "b2b4",
                                       "b2b3", "c2c4", "c2c3", "d2d4", "d2d3", "e2e4", "e2e3",
                                       "f2f4", "f2f3", "g2g4", "g2g3", "h2h4", "h2h3"}));
}

TEST(MoveGenerationTest, BlackAfterACommittedMoveListsPawnsBeforeKnights) {
  BoardState b = test::StartBoard();
  ASSERT_TRUE(CommitMoveText(b, "e2e4"));
  EXPECT_EQ(test::MoveTexts(b), (Texts{"a7a5", "a7a6", "b7b5", "b7b6", "c7c5", "c7c6", "d7d5",
                                       "d7d6", "e7e5", "e7e6", "f7f5", "f7f6", "g7g5", "g7g6",
                                       "h7h5", "h7h6", "b8c6", "b8a6", "g8h6", "g8f6"}));
}

TEST(MoveGenerationTest, PromotionsCapturesFirstInQueenRookKnightBishopOrder) {
  BoardState b = test::FenBoard("3r3k/4P3/8/8/8/8/8/K7 w - -");
  MoveList list;
  GenerateMoves(b, list);
  Texts texts;
  int first = -1;
  for (int i = 0; i < list.Count; ++i) {
    if (list.Moves[i].From != SquareOf(5, 7)) continue;
    if (first < 0) first = i;
    texts.push_back(MoveToText(list.Moves[i]));
  }
  EXPECT_EQ(texts, (Texts{"e7d8q", "e7d8r", "e7d8n", "e7d8b", "e7e8q", "e7e8r", "e7e8n", "e7e8b"}));
  ASSERT_GE(first, 0);
  EXPECT_EQ(list.Moves[first].Promotion, kWhiteQueen);
  EXPECT_EQ(list.Moves[first].Captured, kBlackRook);
  EXPECT_EQ(list.Moves[first + 4].Captured, kEmpty);
}

TEST(MoveGenerationTest, EnPassantTargetsTheMarkerAndOtherPiecesTreatItAsEmpty) {
  BoardState b = test::StartBoard();
  for (const char* text : {"d2d4", "g8f6", "d4d5", "c7c5"}) ASSERT_TRUE(CommitMoveText(b, text));
  EXPECT_EQ(b.Board[SquareOf(3, 6)], kBlackMarker);
  const Move ep = test::GeneratedMove(b, "d5c6");
  EXPECT_EQ(ep.EnPassant, 1);
  EXPECT_EQ(ep.Captured, kBlackMarker);
  // A knight may land on the marker: a quiet move that records the marker code.
  b = test::FenBoard("4k3/8/8/2pP4/1N6/8/8/4K3 w - c6");
  const Move quiet = test::GeneratedMove(b, "b4c6");
  EXPECT_EQ(quiet.Captured, kBlackMarker);
  EXPECT_EQ(quiet.EnPassant, 0);
}

TEST(MoveGenerationTest, CapturesOnlyKeepsCapturesPromotionsAndCastling) {
  BoardState b = test::FenBoard("4k3/6P1/8/8/8/8/8/4K2R w K -");
  EXPECT_EQ(test::MoveTexts(b, GenerationMode::kCapturesOnly),
            (Texts{"e1g1", "g7g8q", "g7g8r", "g7g8n", "g7g8b"}));
  b = test::FenBoard("4k3/8/8/3p4/8/2N5/8/4K3 w - -");
  EXPECT_EQ(test::MoveTexts(b, GenerationMode::kCapturesOnly), Texts{"c3d5"});
}

TEST(MoveGenerationTest, CastlingIsGeneratedKingSideFirstEvenInCheck) {
  BoardState b = test::FenBoard("4k3/8/8/8/8/8/4r3/R3K2R w KQ -");
  const Texts texts = test::MoveTexts(b);
  ASSERT_GE(texts.size(), 2u);
  MoveList list;
  GenerateMoves(b, list);
  int kingSide = -1;
  int queenSide = -1;
  for (int i = 0; i < list.Count; ++i) {
    if (list.Moves[i].Castle == 1) kingSide = i;
    if (list.Moves[i].Castle == 2) queenSide = i;
  }
  EXPECT_GE(kingSide, 0);
  EXPECT_EQ(queenSide, kingSide + 1);
}

TEST(MoveGenerationTest, ComposedPositionsCannotOverfillTheList) {
  // A queen frame around an empty centre: 275 pseudo-legal moves, more than the
  // list holds. The extra moves are dropped and nothing is written past the end.
  // (The black king stands in check, which a set-up record would refuse.)
  BoardState b = test::FenBoard("7k/8/8/8/8/8/8/K7 w - -");
  const char* diagram =
      "QQQQQQQk"
      "Q.....QQ"
      "Q......Q"
      "Q......Q"
      "Q......Q"
      "Q......Q"
      "QQ.....Q"
      "KQQQQQQQ";
  for (int i = 0; i < 64; ++i) {
    if (diagram[i] == 'Q') b.Board[Square64[i]] = kWhiteQueen;
  }
  RebuildPieceList(b);
  MoveList list;
  GenerateMoves(b, list);
  EXPECT_EQ(list.Count, kMaxMoves);
}

}  // namespace
}  // namespace zandrell
