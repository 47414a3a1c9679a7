#include "protocol/shown_line.h"

#include "board/playable_line.h"

namespace zandrell {

LineRoot LineRootOf(const Engine& e) {
  LineRoot root{e.board, {}};
  root.EarlierKeys.reserve(e.record.Played.size());
  for (const PlayedMove& played : e.record.Played) root.EarlierKeys.push_back(played.Before.Key);
  return root;
}

SearchReport PlayableReport(const LineRoot& root, SearchReport r) {
  if (r.Pv != nullptr && r.PvLength > 0) {
    r.PvLength = PlayableLength(root.Board, r.Pv, r.PvLength, root.EarlierKeys);
  }
  return r;
}

}  // namespace zandrell
