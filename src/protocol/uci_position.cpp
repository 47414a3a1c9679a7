#include "protocol/uci_position.h"

#include <algorithm>
#include <string>
#include <vector>

#include "base/log.h"
#include "base/wire.h"
#include "board/fen_setup.h"
#include "board/legal_move.h"
#include "protocol/game.h"
#include "protocol/set_up.h"
#include "protocol/uci_text.h"
#include "search/hash_table.h"

namespace zandrell {

namespace {

constexpr char kStartPosition[] = "startpos";

void Tell(Engine& e, const std::string& text) { SendBareLine(e, "info string " + text); }

void LogNewGame(Engine& e) {
  WriteLog(e, std::string(20, '='), false, false);
  WriteLog(e, "New Game", true, false);
}

// Replays the game on the engine's own board; false (and the reason told) at
// the first move that is not legal.
bool Replay(Engine& e, const std::string& start, const std::vector<std::string>& moves,
            std::string& droppedRights) {
  if (start == kStartPosition && !e.uci.Chess960) {
    ResetPosition(e.board, e.book.BookLoaded);
  } else if (!SetUpFromFen(e.board, start == kStartPosition ? kStandardStartFen : start,
                           &droppedRights, e.uci.Chess960)) {
    Tell(e, "illegal position: " + start);
    return false;
  }
  e.game.PositionCounts.clear();
  e.game.GameResult = kGameOn;
  e.record.Played.clear();
  for (const std::string& text : moves) {
    Move found{};
    if (!FindLegalMove(e.board, text, found)) {
      Tell(e, "illegal move " + text + " after " + std::to_string(e.record.Played.size()) +
                  (e.record.Played.size() == 1 ? " move" : " moves"));
      return false;
    }
    Move m{};
    m.From = found.From;
    m.To = found.To;
    m.EnPassant = found.EnPassant;
    m.Promotion = found.Promotion;
    m.Castle = found.Castle;
    PlayGameMove(e, m);
  }
  return true;
}

}  // namespace

void SetUciPosition(Engine& e, std::string_view args) {
  const std::vector<std::string_view> words = UciWords(args);
  std::size_t i = 1;
  std::string start;
  if (!words.empty() && words[0] == kStartPosition) {
    start = kStartPosition;
  } else if (!words.empty() && words[0] == "fen") {
    for (; i < words.size() && words[i] != "moves"; ++i) {
      if (!start.empty()) start += ' ';
      start += words[i];
    }
  } else {
    Tell(e, "position needs startpos or fen");
    return;
  }
  std::vector<std::string> moves;
  if (i < words.size() && words[i] == "moves") {
    for (++i; i < words.size(); ++i) moves.emplace_back(words[i]);
  } else if (i < words.size()) {
    Tell(e, "position: \"moves\" expected, not \"" + std::string(words[i]) + "\"");
    return;
  }

  // Replayed on the game itself; a failure puts the game back as it was.
  const BoardState board = e.board;
  GameState game = e.game;
  GameRecord record = e.record;
  std::string dropped;
  if (!Replay(e, start, moves, dropped)) {
    e.board = board;
    e.game = std::move(game);
    e.record = std::move(record);
    return;
  }
  if (!dropped.empty()) {
    // The position stands with the rights it can have; logged once per start.
    const std::string text = DroppedRightsText(dropped);
    Tell(e, text);
    if (start != e.uci.Start) WriteLog(e, text, false, false);
  }
  e.uci.Start = std::move(start);
  e.uci.Moves = std::move(moves);
  e.uci.PositionRefused = false;
}

void StartUciGame(Engine& e) {
  NewGame(e);
  // A new game searches afresh, as a game started with a fresh engine would.
  ClearHashTable(e);
  e.uci.Start = kStartPosition;
  e.uci.Moves.clear();
  LogNewGame(e);
  e.uci.LoggedStart.clear();
  e.uci.LoggedMoves.clear();
}

void LogUciGame(Engine& e) {
  UciState& u = e.uci;
  if (!u.LoggedStart.empty()) {
    const bool continues = u.LoggedStart == u.Start && u.LoggedMoves.size() <= u.Moves.size() &&
                           std::equal(u.LoggedMoves.begin(), u.LoggedMoves.end(), u.Moves.begin());
    if (!continues) {
      LogNewGame(e);
      u.LoggedMoves.clear();
    }
  }
  u.LoggedStart = u.Start;
  for (std::size_t i = u.LoggedMoves.size(); i < u.Moves.size(); ++i) {
    WriteLog(e, "move: " + u.Moves[i], false, false);
    u.LoggedMoves.push_back(u.Moves[i]);
  }
}

}  // namespace zandrell
