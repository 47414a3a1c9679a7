#pragma once
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "board/types.h"

namespace zandrell {

constexpr std::int32_t kAllPliesMask = 1048575;  // bits 0..19

struct BookState {
  std::vector<std::string> BookLines;
  std::int32_t BookLineCount = 0;
  std::unordered_map<std::string, std::int32_t> BookFlags;  // line text -> ply mask
  bool BookLoaded = false;
  std::string BookName;  // as the settings or the interface named it
  Move FirstMoves[4];
};

}  // namespace zandrell
