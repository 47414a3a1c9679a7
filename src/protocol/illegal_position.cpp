#include "protocol/illegal_position.h"

#include "base/wire.h"
#include "board/attacks.h"
#include "board/position_text.h"

namespace zandrell {

bool RefuseIllegalPosition(Engine& e) {
  const BoardState& b = e.board;
  std::string& refused = e.game.RefusedPosition;
  const int otherKing = b.WhiteToMove ? b.BlackKingSquare : b.WhiteKingSquare;
  if (!IsAttacked(b, otherKing, b.WhiteToMove ? Side::kWhite : Side::kBlack)) {
    refused.clear();
    return false;
  }
  // Told once per position, not on every pass of the main loop.
  std::string position = PositionText(b);
  if (position != refused) {
    SendLine(e, "tellusererror Illegal position");
    refused = std::move(position);
  }
  return true;
}

}  // namespace zandrell
