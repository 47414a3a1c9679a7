#include "protocol/xboard_thinking.h"

#include <cmath>
#include <string>

#include "base/log.h"
#include "base/wire.h"
#include "platform/platform.h"
#include "search/hash_table.h"
#include "search/root_search.h"

namespace zandrell {

namespace {

void SendThinking(Engine& e, const std::string& line) {
  SendLine(e, line);
  if (e.shell.LogPV) WriteLog(e, "      " + line, false, false);
}

// The thinking line of r. With the hash table on, its line is cut to the moves
// the game can play; the plain search's lines are sent as it found them.
std::string ShownThinkingLine(const Engine& e, const LineRoot& root, const SearchReport& r) {
  return ThinkingLine(HashEnabled(e.search) ? PlayableReport(root, r) : r);
}

}  // namespace

bool AnswerPingAtOnce(Engine& e, std::string_view line) {
  if (line != "ping" && line.substr(0, 5) != "ping ") return false;
  SendLine(e, "pong" + std::string(line.substr(4)));
  return true;
}

void GameThinking::BookMove(const Move&) { SendLine(e_, kBookMoveLine); }

void GameThinking::NewBest(const SearchReport& r) {
  if (r.Depth >= 3 && e_.game.PostThinking) SendThinking(e_, ShownThinkingLine(e_, root_, r));
}

void GameThinking::IterationDone(const SearchReport& r) {
  if (r.Depth <= 3 || !e_.game.PostThinking) return;
  const std::string line = ShownThinkingLine(e_, root_, r);
  SendThinking(e_, line);
  if (e_.game.OpponentIsComputer) SendLine(e_, "tellics kibitz " + line);
}

void GameThinking::CheckInput() {
  input_.Take([&](std::string_view line) {
    if (line == "?" || line == "quit") RequestStop(e_.search);
    return LineUse::kKeep;
  });
  // Nobody is left to read the move; the main loop ends the engine after it.
  if (input_.Ended()) RequestStop(e_.search);
}

void AnalysisThinking::NewBest(const SearchReport& r) {
  if (r.Depth >= 3) SendThinking(e_, ShownThinkingLine(e_, root_, r));
}

void AnalysisThinking::IterationDone(const SearchReport& r) {
  SendThinking(e_, ShownThinkingLine(e_, root_, r));
}

void AnalysisThinking::CheckInput() {
  input_.Take([&](std::string_view line) {
    if (input_.KeptAny()) return LineUse::kKeep;
    if (line == ".") {
      SendAnalysisStatus(e_);
      return LineUse::kAnswered;
    }
    if (AnswerPingAtOnce(e_, line)) return LineUse::kAnswered;
    RequestStop(e_.search);
    return LineUse::kKeep;
  });
  if (input_.Ended()) RequestStop(e_.search);
}

void SendAnalysisStatus(Engine& e) {
  const SearchState& s = e.search;
  const double elapsed = std::fabs(platform::MonotonicSeconds() - s.MoveStartTime);
  const long long centiseconds = static_cast<long long>(elapsed * 100.0);
  SendLine(e, "stat01: " + std::to_string(centiseconds) + " " + std::to_string(NodesSearched(s)) +
                  " " + std::to_string(s.IterationDepth) + " " +
                  std::to_string(s.RootMovesTotal - s.RootMovesSearched) + " " +
                  std::to_string(s.RootMovesTotal));
}

}  // namespace zandrell
