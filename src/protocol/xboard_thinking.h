#pragma once
// What xboard hears while the engine thinks: thinking lines, kibitz and the book
// line in a game, thinking lines and "stat01" in analysis; and which of the lines
// arriving meanwhile act at once.
#include <string_view>

#include "engine/engine.h"
#include "protocol/shown_line.h"
#include "protocol/thinking_input.h"
#include "search/search_interface.h"

namespace zandrell {

// The engine's move in a game. Lines that arrive wait for the interpreter; only
// "?" (move now), "quit" and the end of input end the think early.
class GameThinking : public SearchReporter {
 public:
  explicit GameThinking(Engine& e) : e_(e), input_(e), root_(LineRootOf(e)) {}
  void BookMove(const Move&) override;
  void NewBest(const SearchReport& r) override;
  void IterationDone(const SearchReport& r) override;
  void CheckInput() override;

 private:
  Engine& e_;
  ThinkingInput input_;
  LineRoot root_;
};

// Analysis: a thinking line for every finished iteration, "." and "ping" answered
// at once; any other line, or the end of input, ends the think so the
// interpreter can act on it.
class AnalysisThinking : public SearchReporter {
 public:
  explicit AnalysisThinking(Engine& e) : e_(e), input_(e), root_(LineRootOf(e)) {}
  void NewBest(const SearchReport& r) override;
  void IterationDone(const SearchReport& r) override;
  void CheckInput() override;
  bool Interrupted() const { return input_.KeptAny() || input_.Ended(); }

 private:
  Engine& e_;
  ThinkingInput input_;
  LineRoot root_;
};

// "ping N" while the engine thinks on no move of its own (analysis, a ponder):
// "pong N" at once. False for any other line.
bool AnswerPingAtOnce(Engine& e, std::string_view line);

// "stat01: TIME NODES DEPTH MOVESLEFT MOVESTOTAL" of the current or last think.
void SendAnalysisStatus(Engine& e);

}  // namespace zandrell
