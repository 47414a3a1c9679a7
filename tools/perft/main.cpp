// zandrell-perft: counts the leaves of the legal move tree with the engine's own
// move generation, make/unmake and legality test.
//
//   zandrell-perft [--divide | --keys] [--chess960] [--fen "<fen>" | --moves e2e4 e7e5 ...]
//                  <depth>
//
// --chess960 plays Chess960: the FEN's castling field is X-FEN or Shredder-FEN and
// castling moves are written as the king taking its own rook (e1h1).
// --keys also checks the position key kept by make and unmake at every node.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "board/board_state.h"
#include "board/fen_setup.h"
#include "board/move_text.h"
#include "board/perft.h"

namespace {

using namespace zandrell;

int Usage() {
  std::fprintf(stderr,
               "usage: zandrell-perft [--divide | --keys] [--chess960] [--fen \"<fen>\" | --moves "
               "<move>...] <depth>\n"
               "  counts the leaves of the legal move tree <depth> plies deep\n");
  return 2;
}

bool ReadDepth(std::string_view text, int& depth) {
  if (text.empty() || text.size() > 2) return false;
  depth = 0;
  for (char ch : text) {
    if (ch < '0' || ch > '9') return false;
    depth = depth * 10 + (ch - '0');
  }
  return depth >= 1 && depth <= 20;
}

}  // namespace

int main(int argc, char** argv) {
  bool divide = false;
  bool keys = false;
  bool chess960 = false;
  bool haveDepth = false;
  int depth = 0;
  std::string fen;
  std::vector<std::string> moves;
  bool readingMoves = false;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--divide") {
      divide = true;
      readingMoves = false;
    } else if (arg == "--keys") {
      keys = true;
      readingMoves = false;
    } else if (arg == "--chess960") {
      chess960 = true;
      readingMoves = false;
    } else if (arg == "--fen") {
      if (i + 1 >= argc) return Usage();
      fen = argv[++i];
      readingMoves = false;
    } else if (arg == "--moves") {
      readingMoves = true;
    } else if (arg == "-h" || arg == "--help") {
      return Usage();
    } else if (readingMoves && !(arg.size() <= 2 && ReadDepth(arg, depth))) {
      moves.emplace_back(arg);
    } else if (!haveDepth && ReadDepth(arg, depth)) {
      haveDepth = true;
      readingMoves = false;
    } else {
      return Usage();
    }
  }
  if (!haveDepth) return Usage();
  if (!fen.empty() && !moves.empty()) {
    std::fprintf(stderr, "zandrell-perft: give either --fen or --moves, not both\n");
    return 2;
  }

  BoardState board{};
  ResetPosition(board, false);
  if (chess960 && fen.empty()) fen = kStandardStartFen;
  if (!fen.empty() && !SetUpFromFen(board, fen, nullptr, chess960)) {
    std::fprintf(stderr, "zandrell-perft: not a usable FEN: %s\n", fen.c_str());
    return 1;
  }
  for (const std::string& text : moves) {
    if (!CommitMoveText(board, text)) {
      std::fprintf(stderr, "zandrell-perft: illegal move: %s\n", text.c_str());
      return 1;
    }
  }

  const auto start = std::chrono::steady_clock::now();
  std::uint64_t leaves = 0;
  if (keys) {
    const KeyWalk walk = PerftCheckingKeys(board, depth);
    std::printf("keys checked %llu\nkey mismatches %llu\n",
                static_cast<unsigned long long>(walk.Nodes),
                static_cast<unsigned long long>(walk.Mismatches));
    leaves = walk.Leaves;
    if (walk.Mismatches != 0) return 1;
  } else if (divide) {
    for (const PerftDivideEntry& entry : PerftDivide(board, depth)) {
      std::printf("%s: %llu\n", MoveToText(entry.RootMove).c_str(),
                  static_cast<unsigned long long>(entry.Leaves));
      leaves += entry.Leaves;
    }
  } else {
    leaves = Perft(board, depth);
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("depth %d\nnodes %llu\nseconds %.3f\nnodes/second %.0f\n", depth,
              static_cast<unsigned long long>(leaves), seconds,
              seconds > 0 ? static_cast<double>(leaves) / seconds : 0.0);
  return 0;
}
