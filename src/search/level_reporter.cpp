#include "search/level_reporter.h"

#include <algorithm>

#include "search/root_common.h"

namespace zandrell {

void LevelReporter::IterationDone(const SearchReport& r) {
  if (r.Line <= linesWanted_) caller_.IterationDone(r);
  if (r.Line == 1) {
    // A new depth; one cut short repeats the depth it stopped in.
    if (r.Depth != current_.Searched && current_.Count > 0) previous_ = current_;
    current_.Searched = r.Depth;
    current_.Count = 0;
  } else if (r.Depth != current_.Searched || r.Line != current_.Count + 1) {
    return;
  }
  if (current_.Count == kMostCandidates || r.Pv == nullptr || r.PvLength < 1) return;
  Candidate& c = current_.Lines[static_cast<std::size_t>(current_.Count++)];
  c.Score = r.Score;
  c.Length = std::min(r.PvLength, kMaxPly - 2);
  std::copy(r.Pv, r.Pv + c.Length, c.Line.begin());
}

Move LevelReporter::Choose(SearchState& s, const LevelPlan& plan, const Move& best,
                           double elapsed) {
  // A depth cut short may hold its best line alone: the full depth before it
  // offers the choice.
  const Depth& from = previous_.Count > current_.Count ? previous_ : current_;
  if (from.Count < 2) return best;
  std::array<std::int32_t, kMostCandidates> scores{};
  for (int i = 0; i < from.Count; ++i)
    scores[static_cast<std::size_t>(i)] = from.Lines[static_cast<std::size_t>(i)].Score;
  const Candidate& chosen = from.Lines[static_cast<std::size_t>(
      PickCandidate(scores.data(), from.Count, plan.Spread, s.LevelRandom))];
  const Move& move = chosen.Line[0];
  if (SameMove(move, best)) return best;

  // The root's line is the chosen one, the move first.
  std::copy(chosen.Line.begin(), chosen.Line.begin() + chosen.Length, &s.PvTable[1][1]);
  s.PvLength[1] = chosen.Length + 1;
  s.RootScore = chosen.Score;
  s.ExpectedReply = chosen.Length > 1 ? chosen.Line[1] : kNoMove;
  // A draw the best move would have claimed, or its mate, is not the chosen
  // move's (unless that one mates as well): claiming it would forfeit the game.
  const bool bestMates = s.GameEnd == kWhiteMates || s.GameEnd == kBlackMates;
  if (s.GameEnd == kDrawByRepetition || (bestMates && chosen.Score != kMateInOne)) {
    s.GameEnd = kGameOn;
  }
  SearchReport r;
  r.Depth = from.Searched;
  r.Score = chosen.Score;
  r.Elapsed = elapsed;
  r.Nodes = s.NodeCount;
  r.Pv = chosen.Line.data();
  r.PvLength = chosen.Length;
  caller_.IterationDone(r);
  return move;
}

}  // namespace zandrell
