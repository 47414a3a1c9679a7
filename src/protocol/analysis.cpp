#include "protocol/analysis.h"

#include <string>

#include "base/wire.h"
#include "board/legal_move.h"
#include "board/move_text.h"
#include "board/movegen.h"
#include "book/book.h"
#include "platform/platform.h"
#include "protocol/illegal_position.h"
#include "protocol/xboard_thinking.h"
#include "quiretto/san.h"
#include "search/root_search.h"

namespace zandrell {

void StartAnalysisStatus(Engine& e) {
  SearchState& s = e.search;
  s.RootMovesTotal = LegalMoveCount(e.board);
  s.RootMovesSearched = 0;
  s.IterationDepth = 0;
  s.NodeCount = 0;
  s.QNodeCount = 0;
  s.MoveStartTime = platform::MonotonicSeconds();
}

void Analyze(Engine& e) {
  GameState& g = e.game;
  if (!g.Analyzing || !g.AnalysisPending) return;
  g.AnalysisPending = false;
  // A king could be taken: nothing to analyse until the position is legal.
  if (RefuseIllegalPosition(e)) return;
  SearchState& s = e.search;
  StartAnalysisStatus(e);
  // A mated or stalemated side has nothing to think about.
  if (s.RootMovesTotal == 0) return;
  e.board.Ply = 0;
  AnalysisThinking thinking(e);
  Think(e, SearchLimits{}, thinking);
  // Stopped for a command: the position (perhaps a new one) wants a think again.
  if (thinking.Interrupted() || platform::TerminationRequested()) g.AnalysisPending = true;
}

void AnswerHint(Engine& e) {
  const Move& reply = e.search.ExpectedReply;
  if (reply.From == 0) return;
  Move legal{};
  const std::string text = MoveToText(reply);
  if (!FindLegalMove(e.board, text, legal)) return;
  SendLine(e, "Hint: " + MoveToGameText(legal));
}

void AnswerBookMoves(Engine& e) {
  // One block: each move on a line of its own starting with a blank, and an
  // empty line to end it.
  std::string text;
  for (const BookChoice& choice : ListBookMoves(e)) {
    text += ' ';
    text += quiretto::MoveToSan(e.board, choice.Played);
    text += ' ';
    text += std::to_string(choice.Lines);
    text += choice.Lines == 1 ? " line\n" : " lines\n";
  }
  SendLine(e, text);
}

}  // namespace zandrell
