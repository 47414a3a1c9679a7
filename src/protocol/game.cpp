#include "protocol/game.h"

namespace zandrell {

void NewGame(Engine& e) {
  ResetPosition(e.board, e.book.BookLoaded);
  GameState& g = e.game;
  g.PositionCounts.clear();
  g.GameResult = kGameOn;
  g.EngineSide = false;
  g.PostThinking = false;
  g.MovesPerControl = 0;
  g.Increment = 0;
  g.OwnTime = 300.0f;
  g.OpponentTime = 300.0;
  g.TimeBank = 0.0;
  g.OpponentName.clear();
  g.ForceMode = false;
  g.OpponentRating = 0;
  g.OpponentIsComputer = false;
  e.record.Played.clear();
  e.edit.Active = false;
}

}  // namespace zandrell
