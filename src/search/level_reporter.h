#pragma once
// A think at a playing level: its iterations search a few best lines, of which
// the caller hears only as many as it asked for; at the end the level chooses
// the move among the last depth's lines.
#include <array>
#include <cstdint>

#include "engine/search_state.h"
#include "search/playing_level.h"
#include "search/search_interface.h"

namespace zandrell {

class LevelReporter : public SearchReporter {
 public:
  LevelReporter(SearchReporter& caller, const SearchState& s, int linesWanted)
      : caller_(caller), search_(s), linesWanted_(linesWanted) {}

  void BookMove(const Move& m) override { caller_.BookMove(m); }
  // The further lines' root moves (searched with some moves left out) are not
  // the caller's unless it asked for further lines.
  void NewBest(const SearchReport& r) override {
    if (linesWanted_ > 1 || search_.RootSkipped.empty()) caller_.NewBest(r);
  }
  void IterationDone(const SearchReport& r) override;
  void CheckInput() override { caller_.CheckInput(); }

  // The level's move: the search's best, or another of the candidates whose
  // line then becomes the root's (PvTable[1], RootScore) and is reported last.
  Move Choose(SearchState& s, const LevelPlan& plan, const Move& best, double elapsed);

 private:
  static constexpr int kMostCandidates = 8;
  struct Candidate {
    std::int32_t Score = 0;
    int Length = 0;
    std::array<Move, kMaxPly> Line{};
  };
  struct Depth {
    int Searched = 0;  // the iteration's depth; 0: none yet
    int Count = 0;
    std::array<Candidate, kMostCandidates> Lines{};
  };

  SearchReporter& caller_;
  const SearchState& search_;
  int linesWanted_;
  Depth current_;
  Depth previous_;
};

}  // namespace zandrell
