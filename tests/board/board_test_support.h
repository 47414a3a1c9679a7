#pragma once
// Positions and move look-ups shared by the board tests.
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "board/board_state.h"
#include "board/fen_setup.h"
#include "board/move_text.h"
#include "board/movegen.h"

namespace zandrell::test {

inline BoardState StartBoard() {
  BoardState b{};
  ResetPosition(b, false);
  return b;
}

inline BoardState FenBoard(std::string_view fen) {
  BoardState b{};
  ResetPosition(b, false);
  EXPECT_TRUE(SetUpFromFen(b, fen)) << fen;
  return b;
}

inline std::vector<std::string> MoveTexts(const BoardState& b,
                                          GenerationMode mode = GenerationMode::kAllMoves) {
  MoveList list;
  GenerateMoves(b, list, mode);
  std::vector<std::string> texts;
  for (int i = 0; i < list.Count; ++i) texts.push_back(MoveToText(list.Moves[i]));
  return texts;
}

// Every field of the position as text, for comparing two boards whole: the
// squares (en-passant markers read as empty when asked), the live piece slots
// and their index, the touch counts, kings, castling, clocks, the position key
// and the game record.
inline std::string Snapshot(const BoardState& b, bool markersAsEmpty = false) {
  std::string s;
  for (std::uint8_t c : b.Board) {
    const bool marker = c == kWhiteMarker || c == kBlackMarker;
    s += static_cast<char>(marker && markersAsEmpty ? int{kEmpty} : int{c});
  }
  s.append(std::begin(b.PieceList) + 1, std::begin(b.PieceList) + 1 + b.PieceCount);
  s.append(std::begin(b.PieceIndex), std::end(b.PieceIndex));
  for (std::int16_t t : b.TouchCount) s += std::to_string(t) + ",";
  for (int n :
       {int{b.PieceCount}, int{b.WhiteKingSquare}, int{b.BlackKingSquare}, int{b.WhiteCastled},
        int{b.BlackCastled}, int{b.FiftyCount}, int{b.WhiteToMove}, int{b.BookPly}}) {
    s += std::to_string(n) + ",";
  }
  s += std::to_string(b.Key) + "," + std::to_string(int{b.KeyEnPassant}) + ",";
  return s + b.GameMoves;
}

// The first generated move with this text; the empty move when there is none.
inline Move GeneratedMove(BoardState& b, std::string_view text) {
  MoveList list;
  GenerateMoves(b, list);
  for (int i = 0; i < list.Count; ++i) {
    if (MoveToText(list.Moves[i]) == text) return list.Moves[i];
  }
  ADD_FAILURE() << "no generated move " << text;
  return kNoMove;
}

}  // namespace zandrell::test
