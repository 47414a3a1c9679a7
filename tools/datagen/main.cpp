// zandrell-datagen: games of the engine against itself, the material its
// evaluation is tuned on. Each game starts from the next position of an
// opening file (FEN or EPD, one a line) and is played with a fixed number of
// nodes a move by the hash table's search; a game ends by the rules (mate,
// stalemate, third repetition, fifty moves, no mating material) or is
// adjudicated when both sides' searches agree for eight plies that one side is
// winning by more than six pawns. One line a game:
//
//   FEN;RESULT;MOVE MOVE ...      (RESULT 1-0, 0-1 or 1/2-1/2; moves in coordinates)
//
//   zandrell-datagen --openings FILE [--games N] [--first K] [--nodes N] [--hash MB]
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "board/attacks.h"
#include "board/board_state.h"
#include "board/fen_setup.h"
#include "board/legal_move.h"
#include "board/move_text.h"
#include "engine/engine.h"
#include "platform/platform.h"
#include "protocol/game.h"
#include "protocol/init_engine.h"
#include "protocol/set_up.h"
#include "search/hash_table.h"
#include "search/root_search.h"

namespace {

using namespace zandrell;

constexpr int kMaxGamePlies = 600;
constexpr int kAdjudicationPlies = 8;
constexpr std::int32_t kAdjudicationScore = 600;

int Usage() {
  std::fprintf(stderr,
               "usage: zandrell-datagen --openings FILE [--games N] [--first K] [--nodes N] "
               "[--hash MB]\n"
               "  self-play games, one line each: FEN;RESULT;MOVES\n");
  return 2;
}

// The first four fields of a FEN or EPD line, with the move counters a FEN wants.
std::string PositionOf(const std::string& line) {
  std::string fields[4];
  std::size_t at = 0;
  for (std::string& field : fields) {
    while (at < line.size() && line[at] == ' ') ++at;
    const std::size_t end = line.find(' ', at);
    field = line.substr(at, end == std::string::npos ? std::string::npos : end - at);
    at = end == std::string::npos ? line.size() : end;
  }
  if (fields[3].empty()) return {};
  return fields[0] + " " + fields[1] + " " + fields[2] + " " + fields[3] + " 0 1";
}

// Kings alone, or with one knight or bishop beside them: nobody can mate.
bool NoMatingMaterial(const BoardState& b) {
  int minors = 0;
  for (int square = 0; square < kSquareCount; ++square) {
    switch (b.Board[square]) {
      case kWhitePawn:
      case kBlackPawn:
      case kWhiteRook:
      case kBlackRook:
      case kWhiteQueen:
      case kBlackQueen: return false;
      case kWhiteKnight:
      case kBlackKnight:
      case kWhiteBishop:
      case kBlackBishop: ++minors; break;
      default: break;
    }
  }
  return minors <= 1;
}

// One game from fen; its line, or "" when the position cannot be set up.
std::string PlayGame(Engine& e, const std::string& fen, std::int64_t nodes) {
  BoardState probe{};
  ResetPosition(probe, false);
  if (!SetUpFromFen(probe, fen)) return {};
  NewGame(e);
  SetBoard(e, fen);
  BoardState& b = e.board;
  ClearHashTable(e);
  std::string moves;
  std::string result = "1/2-1/2";
  int whiteAhead = 0;  // plies in a row White's search saw White winning
  int blackAhead = 0;
  for (int ply = 0; ply < kMaxGamePlies; ++ply) {
    if (!HasLegalMove(b)) {
      if (InCheck(b)) result = b.WhiteToMove ? "0-1" : "1-0";
      break;
    }
    if (b.FiftyCount >= 100 || NoMatingMaterial(b)) break;
    SearchLimits limits;
    limits.Nodes = nodes;
    e.search.NodeCount = 0;
    e.search.QNodeCount = 0;
    b.Ply = 0;
    e.search.MoveStartTime = platform::MonotonicSeconds();
    SearchReporter quiet;
    const Move m = Think(e, limits, quiet);
    if (m.From == 0) break;
    const std::int32_t white = b.WhiteToMove ? e.search.RootScore : -e.search.RootScore;
    whiteAhead = white >= kAdjudicationScore ? whiteAhead + 1 : 0;
    blackAhead = white <= -kAdjudicationScore ? blackAhead + 1 : 0;
    moves += (moves.empty() ? "" : " ") + MoveToText(m);
    if (PlayGameMove(e, m) >= 3) break;
    if (whiteAhead >= kAdjudicationPlies || blackAhead >= kAdjudicationPlies) {
      result = whiteAhead > 0 ? "1-0" : "0-1";
      break;
    }
  }
  return fen + ";" + result + ";" + moves;
}

}  // namespace

int main(int argc, char** argv) {
  std::string openings;
  long games = 10;
  long first = 0;
  std::int64_t nodes = 5000;
  int hashMb = 16;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "--openings" && hasValue) {
      openings = argv[++i];
    } else if (arg == "--games" && hasValue) {
      games = std::strtol(argv[++i], nullptr, 10);
    } else if (arg == "--first" && hasValue) {
      first = std::strtol(argv[++i], nullptr, 10);
    } else if (arg == "--nodes" && hasValue) {
      nodes = std::strtoll(argv[++i], nullptr, 10);
    } else if (arg == "--hash" && hasValue) {
      hashMb = std::atoi(argv[++i]);
    } else {
      return Usage();
    }
  }
  if (openings.empty() || games < 1 || first < 0 || nodes < 1 || hashMb < 1 ||
      hashMb > kMaxHashMb) {
    return Usage();
  }
  std::ifstream in(openings);
  std::vector<std::string> positions;
  for (std::string line; std::getline(in, line);) {
    const std::string fen = PositionOf(line);
    if (!fen.empty()) positions.push_back(fen);
  }
  if (positions.empty()) {
    std::fprintf(stderr, "datagen: no position in %s\n", openings.c_str());
    return 1;
  }

  const std::unique_ptr<Engine> engine = NewSilentEngine(hashMb);
  Engine& e = *engine;
  for (long g = 0; g < games; ++g) {
    const std::string& fen = positions[static_cast<std::size_t>(first + g) % positions.size()];
    const std::string line = PlayGame(e, fen, nodes);
    if (line.empty()) {
      std::fprintf(stderr, "datagen: position refused: %s\n", fen.c_str());
      continue;
    }
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
  }
  return 0;
}
