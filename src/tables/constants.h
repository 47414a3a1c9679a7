#pragma once
// The evaluation's piece-square tables, indexed by the 144-square mailbox (0 on
// the border).
#include "board/board_tables.h"

namespace zandrell {

inline constexpr SquareTable PawnTableWhite = FromGrid({{
    {0, 0, 0, 0, 0, 0, 0, 0},
    {5, 10, 15, 20, 20, 15, 10, 5},
    {4, 4, 12, 16, 16, 12, 4, 4},
    {3, 3, 9, 12, 12, 9, 3, 3},
    {2, 2, 6, 8, 8, 6, 2, 2},
    {1, 1, 2, 4, 4, 2, 1, 1},
    {0, 0, 0, -4, -4, 0, 0, 0},
    {0, 0, 0, 0, 0, 0, 0, 0},
}});
inline constexpr SquareTable PawnTableBlack = Mirror(PawnTableWhite);

inline constexpr SquareTable KingMiddleTableWhite = FromGrid({{
    {-70, -70, -70, -70, -70, -70, -70, -70},
    {-60, -60, -60, -60, -60, -60, -60, -60},
    {-50, -50, -50, -50, -50, -50, -50, -50},
    {-40, -40, -40, -40, -40, -40, -40, -40},
    {-30, -30, -30, -30, -30, -30, -30, -30},
    {-20, -20, -20, -20, -20, -20, -20, -20},
    {-4, -4, -10, -10, -10, -10, -4, -4},
    {3, 10, 10, 0, 0, 5, 10, 3},
}});
inline constexpr SquareTable KingMiddleTableBlack = Mirror(KingMiddleTableWhite);

inline constexpr SquareTable KingEndTable = FromGrid({{
    {-5, -3, -1, 0, 0, -1, -3, -5},
    {-3, 5, 5, 5, 5, 5, 5, -3},
    {-1, 5, 10, 10, 10, 10, 5, -1},
    {0, 5, 10, 15, 15, 10, 5, 0},
    {0, 5, 10, 15, 15, 10, 5, 0},
    {-1, 5, 10, 10, 10, 10, 5, -1},
    {-3, 5, 5, 5, 5, 5, 5, -3},
    {-5, -3, -1, 0, 0, -1, -3, -5},
}});

inline constexpr SquareTable BishopTableWhite = FromGrid({{
    {-5, -5, -5, -5, -5, -5, -5, -5},
    {-5, 0, 0, 0, 0, 0, 0, -5},
    {-5, 0, 2, 2, 2, 2, 0, -5},
    {-5, 4, 3, 3, 3, 3, 4, -5},
    {-3, 2, 10, 3, 3, 10, 2, -3},
    {-5, 4, 6, 10, 10, 6, 4, -5},
    {-5, 10, 0, 10, 10, 0, 10, -5},
    {-5, -5, -5, -5, -5, -5, -5, -5},
}});
inline constexpr SquareTable BishopTableBlack = Mirror(BishopTableWhite);

inline constexpr SquareTable KnightTableWhite = FromGrid({{
    {-20, -10, -10, -10, -10, -10, -10, -20},
    {-10, 0, 0, 0, 0, 0, 0, -10},
    {-10, 2, 5, 5, 5, 5, 2, -10},
    {-10, 2, 5, 10, 10, 5, 2, -10},
    {-10, 0, 5, 10, 10, 5, 0, -10},
    {-10, 2, 5, 5, 5, 5, 2, -10},
    {-10, 0, 0, 1, 1, 0, 0, -10},
    {-20, -10, -10, -10, -10, -10, -10, -20},
}});
inline constexpr SquareTable KnightTableBlack = Mirror(KnightTableWhite);

}  // namespace zandrell
