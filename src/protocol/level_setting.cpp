#include "protocol/level_setting.h"

#include <algorithm>

#include "base/numeric.h"
#include "base/settings.h"
#include "search/playing_level.h"

namespace zandrell {

void SetPlayingLevel(Engine& e, int elo) {
  e.game.LevelElo = elo > 0 ? std::clamp(elo, kLowestLevelElo, kHighestLevelElo) : 0;
  e.uci.LimitStrength = e.game.LevelElo > 0;
  if (e.uci.LimitStrength) e.uci.Elo = e.game.LevelElo;
}

void ReadPlayingLevel(Engine& e) {
  const double elo = NumericValue(ReadSetting(e, "Elo", "0"));
  SetPlayingLevel(e, elo >= 1.0 && elo < 1e6 ? static_cast<int>(elo) : 0);
}

}  // namespace zandrell
