#include "protocol/take_back.h"

#include <utility>

namespace zandrell {

bool TakeBackMove(Engine& e) {
  std::vector<PlayedMove>& played = e.record.Played;
  if (played.empty()) return false;
  PlayedMove& last = played.back();
  auto& counts = e.game.PositionCounts;
  auto counted = counts.find(last.PositionKey);
  if (counted != counts.end() && --counted->second <= 0) counts.erase(counted);
  e.board = std::move(last.Before);
  e.game.GameResult = last.ResultBefore;
  played.pop_back();
  return true;
}

void TakeBackTwoMoves(Engine& e) {
  if (e.record.Played.size() < 2) return;
  TakeBackMove(e);
  TakeBackMove(e);
}

}  // namespace zandrell
