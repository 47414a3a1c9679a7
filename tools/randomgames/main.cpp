// zandrell-randomgames: random legal games as PGN, for timing Quiretto's import
// and the engine's start-up with a large book (tools/quiretto-bench.sh).
//
//   zandrell-randomgames GAMES [PLIES] [SEED]
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "board/board_state.h"
#include "board/legal_move.h"
#include "board/movegen.h"
#include "quiretto/san.h"

int main(int argc, char** argv) {
  using namespace zandrell;
  if (argc < 2) {
    std::fprintf(stderr, "usage: zandrell-randomgames GAMES [PLIES] [SEED]\n");
    return 2;
  }
  const long games = std::strtol(argv[1], nullptr, 10);
  const long plies = argc > 2 ? std::strtol(argv[2], nullptr, 10) : 40;
  std::mt19937 random(argc > 3 ? static_cast<unsigned>(std::strtoul(argv[3], nullptr, 10)) : 1u);
  static const char* const kResults[] = {"1-0", "0-1", "1/2-1/2"};
  BoardState b{};
  std::string text;
  for (long g = 1; g <= games; ++g) {
    const char* result = kResults[random() % 3];
    text = "[Event \"Random game " + std::to_string(g) + "\"]\n[Result \"" + result + "\"]\n\n";
    ResetPosition(b, true);
    for (long ply = 0; ply < plies; ++ply) {
      MoveList list;
      GenerateMoves(b, list);
      Move legal[kMaxMoves];
      int n = 0;
      for (int i = 0; i < list.Count; ++i) {
        if (IsLegalMove(b, list.Moves[i])) legal[n++] = list.Moves[i];
      }
      if (n == 0) break;
      const Move m = legal[random() % static_cast<unsigned>(n)];
      if (ply % 2 == 0) text += std::to_string(ply / 2 + 1) + ". ";
      text += quiretto::MoveToSan(b, m) + (ply % 10 == 9 ? "\n" : " ");
      quiretto::PlayMove(b, m);
    }
    text += std::string(result) + "\n\n";
    std::fwrite(text.data(), 1, text.size(), stdout);
  }
  return 0;
}
