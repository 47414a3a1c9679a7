#include "protocol/game.h"

#include "base/log.h"
#include "board/make_move.h"
#include "board/position_text.h"
#include "search/hash_table.h"

namespace zandrell {

void NewGame(Engine& e) {
  ResetPosition(e.board, e.book.BookLoaded);
  GameState& g = e.game;
  g.PositionCounts.clear();
  g.GameResult = kGameOn;
  g.EngineSide = false;
  g.PostThinking = false;
  g.MovesPerControl = 0;
  g.FixedTimePerMove = false;
  g.Increment = 0;
  g.IncrementSeconds = 0.0;
  g.OwnTime = 300.0f;
  g.OpponentTime = 300.0;
  g.TimeBank = 0.0;
  g.OpponentName.clear();
  g.ForceMode = false;
  g.OpponentRating = 0;
  g.OpponentIsComputer = false;
  g.PonderPending = false;
  e.record.Played.clear();
  e.edit.Active = false;
}

int PlayGameMove(Engine& e, const Move& m) {
  e.record.Played.push_back({e.board, e.game.GameResult, {}});
  PlayMove(e.board, m);
  PlayedMove& played = e.record.Played.back();
  played.PositionKey = PositionText(e.board);
  return ++e.game.PositionCounts[played.PositionKey];
}

bool MatchSearchToVariant(Engine& e) {
  if (!e.board.Chess960) {
    if (e.search.HashMadeFor960) {
      ResizeHashTable(e, 0);
      e.uci.HashMegabytes = e.search.Hash.SizeMb;
      e.search.HashMadeFor960 = false;
    }
    return false;
  }
  if (HashEnabled(e.search)) return false;
  ResizeHashTable(e, kChess960HashMb);
  e.uci.HashMegabytes = e.search.Hash.SizeMb;
  e.search.HashMadeFor960 = HashEnabled(e.search);
  if (e.search.HashMadeFor960) {
    WriteLog(e, "Chess960 plays with the hash table: Hash " + std::to_string(e.uci.HashMegabytes),
             false, false);
  }
  return e.search.HashMadeFor960;
}

}  // namespace zandrell
