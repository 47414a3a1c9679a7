// zandrell-bench: fixed-depth searches over a set of positions reached by move
// sequences from the start. The total node count is the search's signature: an
// optimisation must leave it unchanged. With --fairymax the same positions are
// also searched by that engine over the xboard protocol, side by side.
//
// With --hash MB the hash table (and the search it enables) is on, cleared before
// each position; --threads N then searches on N threads (the nodes are those of
// every thread, the time the time to the depth).
//
//   zandrell-bench [--depth N] [--hash MB] [--threads N] [--fairymax [PATH]] [--signature]
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "board/legal_move.h"
#include "board/move_text.h"
#include "board/perft.h"
#include "board/position_text.h"
#include "engine/engine.h"
#include "platform/child_process.h"
#include "platform/platform.h"
#include "protocol/game.h"
#include "protocol/init_engine.h"
#include "search/hash_table.h"
#include "search/root_search.h"

namespace {

using namespace zandrell;

struct BenchPosition {
  const char* Name;
  const char* Moves;
};

constexpr BenchPosition kPositions[] = {
    {"start", ""},
    {"ruy lopez", "e2e4 e7e5 g1f3 b8c6 f1b5 a7a6 b5a4 g8f6 e1g1 f8e7"},
    {"najdorf", "e2e4 c7c5 g1f3 d7d6 d2d4 c5d4 f3d4 g8f6 b1c3 a7a6"},
    {"queen's gambit", "d2d4 d7d5 c2c4 e7e6 b1c3 g8f6 c1g5 f8e7 e2e3 e8g8 g1f3 b8d7"},
    {"french winawer", "e2e4 e7e6 d2d4 d7d5 b1c3 f8b4 e4e5 c7c5 a2a3 b4c3 b2c3 g8e7"},
    {"king's indian",
     "d2d4 g8f6 c2c4 g7g6 b1c3 f8g7 e2e4 d7d6 g1f3 e8g8 f1e2 e7e5 e1g1 b8c6 d4d5 c6e7"},
    {"captures",
     "e2e4 e7e5 g1f3 b8c6 f1c4 f8c5 c2c3 g8f6 d2d4 e5d4 c3d4 c5b4 b1c3 f6e4 e1g1 e4c3 b2c3 b4c3"},
    {"checks", "e2e4 e7e5 g1f3 f7f6 f3e5 f6e5 d1h5 e8e7"},
    {"endgame",
     "e2e4 d7d5 e4d5 d8d5 b1c3 d5e5 d1e2 e5e2 f1e2 c8f5 c3d5 e8d8 d5e3 g8h6 g1f3 b8c6 d2d3 d8c8 "
     "c1d2 e7e5 e1g1 f8e7 e3d5 e7d6 f1e1 f5e6 d5c3 c6b4 e1c1 h6f5 f3g5 f5d4 g5e6 d4e6 c3e4 b4c6 "
     "e2g4 h7h5 g4e6 f7e6 c2c4 h8d8 d2g5 d6e7 g5e7 c6e7 e4c5 d8d6 c1d1 c8b8 d1e1 e7c6 e1e3 h5h4 "
     "e3f3 c6d8 a1e1 b7b6 c5e4 d6d7 e4g5 d8c6 g5e6 c6d4 f3f8 b8b7 f8a8 b7a8 e6f8 d7d8 f8g6 d4c6 "
     "g6h4 d8d3 h4f3 e5e4 e1e4 d3d1 f3e1"},
};

std::vector<std::string> Split(std::string_view text) {
  std::vector<std::string> words;
  std::istringstream in{std::string(text)};
  std::string word;
  while (in >> word) words.push_back(word);
  return words;
}

struct Result {
  std::string BestMove;
  std::int64_t Nodes = 0;
  std::int64_t QNodes = 0;
  double Seconds = 0;
  bool Ok = false;
};

// Plays the moves into a new game the way the interface would send them.
bool SetUp(Engine& e, const BenchPosition& position) {
  NewGame(e);
  e.board.BookPly = 21;  // no book: every position is searched
  for (const std::string& text : Split(position.Moves)) {
    Move m{};
    if (!FindLegalMove(e.board, text, m)) {
      std::fprintf(stderr, "bench: %s: move %s is not legal\n", position.Name, text.c_str());
      return false;
    }
    PlayGameMove(e, m);
  }
  return true;
}

Result SearchOne(Engine& e, const BenchPosition& position, int depth) {
  Result result;
  if (!SetUp(e, position)) return result;
  e.game.MaxDepth = depth;
  e.search.NodeCount = 0;
  e.search.QNodeCount = 0;
  e.board.Ply = 0;
  const double start = platform::MonotonicSeconds();
  e.search.MoveStartTime = start;
  SearchLimits limits;
  limits.GameClock = true;
  SearchReporter quiet;
  Move best = Think(e, limits, quiet);
  result.Seconds = platform::MonotonicSeconds() - start;
  result.BestMove = MoveToText(best);
  result.Nodes = e.search.NodeCount;
  result.QNodes = e.search.QNodeCount;
  result.Ok = true;
  return result;
}

// Fairymax over the xboard protocol: the nodes of its last thinking line, and
// the wall time from "go" to its move.
Result FairymaxOne(const std::string& program, const BenchPosition& position, int depth) {
  Result result;
  platform::ChildProcess child;
  if (!child.Start(program, {})) return result;
  std::string commands = "xboard\nnew\nforce\n";
  for (const std::string& text : Split(position.Moves)) commands += text + "\n";
  commands += "st 100000\nsd " + std::to_string(depth) + "\npost\n";
  child.Write(commands);
  child.Write("ping 1\n");
  child.ReadUntil("pong 1", 10000);
  const double start = platform::MonotonicSeconds();
  child.Write("go\n");
  std::string output = child.ReadUntil("\nmove ", 600000);
  output += child.ReadUntil("\n", 1000);
  result.Seconds = platform::MonotonicSeconds() - start;
  child.Write("quit\n");
  child.CloseInput();
  if (child.Wait(2000) < 0) child.Kill();

  std::istringstream lines(output);
  std::string line;
  while (std::getline(lines, line)) {
    std::istringstream fields(line);
    if (line.rfind("move ", 0) == 0) {
      result.BestMove = line.substr(5);
      result.Ok = true;
      continue;
    }
    int d = 0;
    long long score = 0, time = 0, nodes = 0;
    if (fields >> d >> score >> time >> nodes) result.Nodes = nodes;
  }
  return result;
}

int Usage() {
  std::fprintf(stderr,
               "usage: zandrell-bench [--depth N] [--hash MB] [--threads N] [--fairymax [PATH]] "
               "[--signature]\n"
               "  fixed-depth searches over the bench positions; prints nodes and speed\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  int depth = 6;
  bool withFairymax = false;
  bool signatureOnly = false;
  int hashMb = 0;
  int threads = 1;
  std::string fairymax = "/usr/games/fairymax";
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--depth" && i + 1 < argc) {
      depth = std::atoi(argv[++i]);
      if (depth < 1 || depth > kMaxSearchDepth) return Usage();
    } else if (arg == "--hash" && i + 1 < argc) {
      hashMb = std::atoi(argv[++i]);
      if (hashMb < 0 || hashMb > kMaxHashMb) return Usage();
    } else if (arg == "--threads" && i + 1 < argc) {
      threads = std::atoi(argv[++i]);
      if (threads < 1 || threads > kMaxThreads) return Usage();
    } else if (arg == "--fairymax") {
      withFairymax = true;
      if (i + 1 < argc && argv[i + 1][0] != '-') fairymax = argv[++i];
    } else if (arg == "--signature") {
      signatureOnly = true;
    } else {
      return Usage();
    }
  }

  const std::unique_ptr<Engine> engine = NewSilentEngine(hashMb);
  Engine& e = *engine;
  e.threads.Count = threads;

  std::int64_t totalNodes = 0;
  std::int64_t totalQNodes = 0;
  double totalSeconds = 0;
  std::int64_t fmNodes = 0;
  double fmSeconds = 0;
  if (!signatureOnly) {
    std::printf("depth %d\n%-16s %-7s %12s %12s %8s", depth, "position", "best", "nodes", "qnodes",
                "seconds");
    if (withFairymax) std::printf("   | fairymax %-7s %12s %8s", "best", "nodes", "seconds");
    std::printf("\n");
  }
  for (const BenchPosition& position : kPositions) {
    ClearHashTable(e);
    Result r = SearchOne(e, position, depth);
    if (!r.Ok) return 1;
    totalNodes += r.Nodes;
    totalQNodes += r.QNodes;
    totalSeconds += r.Seconds;
    if (signatureOnly) continue;
    std::printf("%-16s %-7s %12lld %12lld %8.3f", position.Name, r.BestMove.c_str(),
                static_cast<long long>(r.Nodes), static_cast<long long>(r.QNodes), r.Seconds);
    if (withFairymax) {
      Result f = FairymaxOne(fairymax, position, depth);
      fmNodes += f.Nodes;
      fmSeconds += f.Seconds;
      std::printf("   | %-16s %12lld %8.3f", f.Ok ? f.BestMove.c_str() : "(failed)",
                  static_cast<long long>(f.Nodes), f.Seconds);
    }
    std::printf("\n");
    std::fflush(stdout);
  }
  if (signatureOnly) {
    std::printf("%lld\n", static_cast<long long>(totalNodes));
    return 0;
  }
  std::printf("total nodes %lld (quiescence %lld), %.3f s, %.0f nodes/s\n",
              static_cast<long long>(totalNodes), static_cast<long long>(totalQNodes), totalSeconds,
              totalSeconds > 0 ? static_cast<double>(totalNodes) / totalSeconds : 0.0);
  if (withFairymax) {
    std::printf("fairymax total nodes %lld, %.3f s, %.0f nodes/s\n",
                static_cast<long long>(fmNodes), fmSeconds,
                fmSeconds > 0 ? static_cast<double>(fmNodes) / fmSeconds : 0.0);
  }
  std::printf("signature %lld\n", static_cast<long long>(totalNodes));
  return 0;
}
