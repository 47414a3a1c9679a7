// Static exchange evaluation on a table of exchanges: x-rays, defended and
// undefended targets, en passant, promotion, a king that may recapture only
// what is left undefended, and quiet moves onto attacked squares.
#include <algorithm>
#include <array>
#include <string>

#include "board/board_test_support.h"
#include "search/static_exchange.h"

namespace zandrell::test {
namespace {

// Round values, so that the expected results can be worked out by hand.
constexpr std::array<int, 17> kValues = {0,   100, 100, 300, 300, 5000, 5000, 500, 500,
                                         900, 900, 300, 300, 0,   0,    100,  100};

struct Case {
  const char* Fen;
  const char* Move;
  int Expected;
};
constexpr Case kCases[] = {
    // An undefended pawn.
    {"1k1r4/1pp4p/p7/4p3/8/P5P1/1PP4P/2K1R3 w - - 0 1", "e1e5", 100},
    // N for P; then N, R, B, Q and the queen behind the bishop join in turn.
    {"1k1r3q/1ppn3p/p4b2/4p3/8/P2N2P1/1PP1R1BP/2K1Q3 w - - 0 1", "d3e5", -200},
    // Doubled rooks on both sides: the first capture loses the exchange.
    {"k2r4/3r4/8/3p4/8/8/3R4/K2R4 w - - 0 1", "d2d5", -400},
    // A defended bishop taken by the queen.
    {"4k3/8/2p5/3b4/8/8/8/3QK3 w - - 0 1", "d1d5", -600},
    // The same bishop taken by a pawn: the recapture costs only the pawn.
    {"4k3/8/2p5/3b4/4P3/8/8/4K3 w - - 0 1", "e4d5", 200},
    // En passant, the capturing pawn then taken by the king.
    {"8/8/4k3/3pP3/8/8/8/4K3 w - d6 0 1", "e5d6", 0},
    {"8/8/8/3pP3/8/8/k7/4K3 w - d6 0 1", "e5d6", 100},
    // A capture with promotion, the new queen taken by the king.
    {"1rk5/P7/8/8/8/8/8/K7 w - - 0 1", "a7b8q", 400},
    {"1r5k/P7/8/8/8/8/8/K7 w - - 0 1", "a7b8q", 1300},
    // The king may take back only a piece no one defends.
    {"8/8/8/3k4/4p3/6N1/8/K7 w - - 0 1", "g3e4", -200},
    {"8/8/8/3k4/4p3/3P2N1/8/K7 w - - 0 1", "g3e4", 100},
    {"8/8/8/8/3kp3/6N1/8/K3R3 w - - 0 1", "g3e4", 100},
    // Quiet moves: onto a square a pawn guards, and onto a safe one.
    {"4k3/8/8/8/3p4/8/8/4KN2 w - - 0 1", "f1e3", -300},
    {"4k3/8/8/8/3p4/8/8/4KN2 w - - 0 1", "f1g3", 0},
    // Black's side: a pawn takes a knight, defended and not.
    {"4k3/8/8/3p4/4N3/3P4/8/4K3 b - - 0 1", "d5e4", 200},
    {"4k3/8/8/3p4/4N3/8/8/4K3 b - - 0 1", "d5e4", 300},
};

TEST(StaticExchange, ExchangesOnOneSquareComeOutAsWorkedByHand) {
  for (const Case& c : kCases) {
    BoardState b = FenBoard(c.Fen);
    const Move m = GeneratedMove(b, c.Move);
    EXPECT_EQ(StaticExchange(b, m, kValues), c.Expected) << c.Fen << " " << c.Move;
  }
}

// The shortcut for captures of a piece worth at least the capturer must agree
// with playing the exchange out, for every move of every position above.
TEST(StaticExchange, LossIsTheNegativePartOfTheExchange) {
  for (const Case& c : kCases) {
    const BoardState b = FenBoard(c.Fen);
    MoveList list;
    GenerateMoves(b, list);
    for (int i = 0; i < list.Count; ++i) {
      const Move& m = list.Moves[i];
      EXPECT_EQ(ExchangeLoss(b, m, kValues), std::min(StaticExchange(b, m, kValues), 0))
          << c.Fen << " " << MoveToText(m);
    }
  }
}

}  // namespace
}  // namespace zandrell::test
