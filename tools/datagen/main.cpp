// zandrell-datagen: positions from games of the engine against itself, the
// material its evaluation is tuned on. Each game starts from an opening of a
// FEN or EPD file (game g from line (first + g) modulo their number), takes a
// few random legal plies drawn from the seed and the game's number, and is
// played with a fixed number of nodes a move by the hash table's search. A game
// ends by the rules (mate, stalemate, third repetition, fifty moves, no mating
// material) or is adjudicated when the searches agree for eight plies that one
// side is winning by more than six pawns.
//
// Of every game the quiet positions are written, one a line with the game's
// result from White's view, as tuners in the field read them:
//
//   FEN [1.0]          (1.0 White won, 0.5 drawn, 0.0 Black won)
//
// Quiet: the side to move is not in check, the move the search chose is no
// capture or promotion, no capture wins material by static exchange, and the
// score is no mate. The same arguments give the same games whatever the thread
// count; --out appends, so a run with another seed or --first adds to a file.
//
//   zandrell-datagen --openings FILE [--games N] [--first K] [--nodes N]
//                    [--seed S] [--random-plies N] [--threads N] [--hash MB]
//                    [--out FILE]
#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "board/attacks.h"
#include "board/board_state.h"
#include "board/fen_setup.h"
#include "board/legal_move.h"
#include "board/make_move.h"
#include "board/movegen.h"
#include "board/position_text.h"
#include "engine/engine.h"
#include "platform/platform.h"
#include "protocol/game.h"
#include "protocol/init_engine.h"
#include "protocol/set_up.h"
#include "search/hash_table.h"
#include "search/root_search.h"
#include "search/static_exchange.h"

namespace {

using namespace zandrell;

constexpr int kMaxGamePlies = 600;
constexpr int kAdjudicationPlies = 8;
constexpr std::int32_t kAdjudicationScore = 600;
constexpr std::int32_t kMateScores = 20000;  // beyond this a score counts mate
constexpr int kMaxThreads = 64;

int Usage() {
  std::fprintf(stderr,
               "usage: zandrell-datagen --openings FILE [--games N] [--first K] [--nodes N]\n"
               "                        [--seed S] [--random-plies N] [--threads N] [--hash MB]\n"
               "                        [--out FILE]\n"
               "  self-play games; their quiet positions, one a line: FEN [RESULT]\n");
  return 2;
}

struct Options {
  std::string Openings;
  std::string Out;
  long Games = 10;
  long First = 0;
  std::int64_t Nodes = 5000;
  std::uint64_t Seed = 1;
  int RandomPlies = 2;
  int Threads = 1;
  int HashMb = 16;
};

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

// Splitmix64: a game's random plies from the seed and its number alone.
std::uint64_t NextRandom(std::uint64_t& state) {
  std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
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

// No legal capture of the side to move wins material by static exchange.
bool NoWinningCapture(const Engine& e, BoardState& b) {
  MoveList captures;
  GenerateMoves(b, captures, GenerationMode::kCapturesOnly);
  for (int i = 0; i < captures.Count; ++i) {
    const Move& m = captures.Moves[i];
    if (StaticExchange(b, m, e.tables.PieceValue) > 0 && IsLegalMove(b, m)) return false;
  }
  return true;
}

// Plays count random legal moves on the game; false when the game ends first.
bool PlayRandomPlies(Engine& e, int count, std::uint64_t& random) {
  for (int ply = 0; ply < count; ++ply) {
    MoveList list;
    GenerateMoves(e.board, list);
    std::vector<Move> legal;
    for (int i = 0; i < list.Count; ++i) {
      if (IsLegalMove(e.board, list.Moves[i])) legal.push_back(list.Moves[i]);
    }
    if (legal.empty()) return false;
    const Move m = legal[NextRandom(random) % legal.size()];
    if (PlayGameMove(e, m) >= 3) return false;
  }
  return HasLegalMove(e.board);
}

// One game from fen; its quiet positions with the result, or nothing when the
// position cannot be set up or the random plies end the game.
std::string PlayGame(Engine& e, const std::string& fen, const Options& options, long number,
                     long& positions) {
  positions = 0;
  BoardState probe{};
  ResetPosition(probe, false);
  if (!SetUpFromFen(probe, fen)) return {};
  NewGame(e);
  SetBoard(e, fen);
  ClearHashTable(e);
  std::uint64_t random = options.Seed * 0x2545F4914F6CDD1Dull + static_cast<std::uint64_t>(number);
  if (!PlayRandomPlies(e, options.RandomPlies, random)) return {};
  BoardState& b = e.board;
  std::vector<std::string> quiet;
  const char* result = "0.5";
  int whiteAhead = 0;  // plies in a row White's search saw White winning
  int blackAhead = 0;
  const int startsWithBlack = b.WhiteToMove ? 0 : 1;
  for (int ply = 0; ply < kMaxGamePlies; ++ply) {
    if (!HasLegalMove(b)) {
      if (InCheck(b)) result = b.WhiteToMove ? "0.0" : "1.0";
      break;
    }
    if (b.FiftyCount >= 100 || NoMatingMaterial(b)) break;
    SearchLimits limits;
    limits.Nodes = options.Nodes;
    e.search.NodeCount = 0;
    e.search.QNodeCount = 0;
    b.Ply = 0;
    e.search.MoveStartTime = platform::MonotonicSeconds();
    SearchReporter silent;
    const Move m = Think(e, limits, silent);
    if (m.From == 0) break;
    const std::int32_t score = e.search.RootScore;
    if (!InCheck(b) && !IsCaptureOrPromotion(m) && score > -kMateScores && score < kMateScores &&
        NoWinningCapture(e, b)) {
      const int moveNumber = 1 + (options.RandomPlies + ply + startsWithBlack) / 2;
      quiet.push_back(PositionText(b) + " " + std::to_string(b.FiftyCount) + " " +
                      std::to_string(moveNumber));
    }
    const std::int32_t white = b.WhiteToMove ? score : -score;
    whiteAhead = white >= kAdjudicationScore ? whiteAhead + 1 : 0;
    blackAhead = white <= -kAdjudicationScore ? blackAhead + 1 : 0;
    if (PlayGameMove(e, m) >= 3) break;
    if (whiteAhead >= kAdjudicationPlies || blackAhead >= kAdjudicationPlies) {
      result = whiteAhead > 0 ? "1.0" : "0.0";
      break;
    }
  }
  std::string lines;
  for (const std::string& position : quiet) lines += position + " [" + result + "]\n";
  positions = static_cast<long>(quiet.size());
  return lines;
}

bool ReadArguments(int argc, char** argv, Options& o) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (i + 1 >= argc) return false;
    const char* value = argv[++i];
    if (arg == "--openings") {
      o.Openings = value;
    } else if (arg == "--out") {
      o.Out = value;
    } else if (arg == "--games") {
      o.Games = std::strtol(value, nullptr, 10);
    } else if (arg == "--first") {
      o.First = std::strtol(value, nullptr, 10);
    } else if (arg == "--nodes") {
      o.Nodes = std::strtoll(value, nullptr, 10);
    } else if (arg == "--seed") {
      o.Seed = std::strtoull(value, nullptr, 10);
    } else if (arg == "--random-plies") {
      o.RandomPlies = std::atoi(value);
    } else if (arg == "--threads") {
      o.Threads = std::atoi(value);
    } else if (arg == "--hash") {
      o.HashMb = std::atoi(value);
    } else {
      return false;
    }
  }
  return !o.Openings.empty() && o.Games >= 1 && o.First >= 0 && o.Nodes >= 1 &&
         o.RandomPlies >= 0 && o.RandomPlies <= 40 && o.Threads >= 1 && o.Threads <= kMaxThreads &&
         o.HashMb >= 1 && o.HashMb <= kMaxHashMb;
}

// The games shared out among the threads, each with an engine of its own.
struct Run {
  Run(const Options& settings, const std::vector<std::string>& openings, std::FILE* out)
      : Settings(settings), Openings(openings), Out(out) {}
  const Options& Settings;
  const std::vector<std::string>& Openings;
  std::FILE* Out;
  std::atomic<long> Next{0};
  std::mutex Writing;
  long GamesDone = 0;
  long PositionsDone = 0;
  double Started = platform::MonotonicSeconds();
};

void PlayGames(Run& run) {
  const std::unique_ptr<Engine> engine = NewSilentEngine(run.Settings.HashMb);
  for (long g = run.Next++; g < run.Settings.Games; g = run.Next++) {
    const long number = run.Settings.First + g;
    const std::string& fen = run.Openings[static_cast<std::size_t>(number) % run.Openings.size()];
    long positions = 0;
    const std::string lines = PlayGame(*engine, fen, run.Settings, number, positions);
    const std::lock_guard<std::mutex> hold(run.Writing);
    std::fputs(lines.c_str(), run.Out);
    std::fflush(run.Out);
    ++run.GamesDone;
    run.PositionsDone += positions;
    const double seconds = std::max(1e-3, platform::MonotonicSeconds() - run.Started);
    std::fprintf(stderr, "\rdatagen: %ld/%ld games, %ld positions, %.1f games/s ", run.GamesDone,
                 run.Settings.Games, run.PositionsDone,
                 static_cast<double>(run.GamesDone) / seconds);
  }
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ReadArguments(argc, argv, options)) return Usage();
  std::ifstream in(options.Openings);
  std::vector<std::string> openings;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::string fen = PositionOf(line);
    BoardState probe{};
    ResetPosition(probe, false);
    if (!fen.empty() && SetUpFromFen(probe, fen)) openings.push_back(fen);
  }
  if (openings.empty()) {
    std::fprintf(stderr, "datagen: no position in %s\n", options.Openings.c_str());
    return 1;
  }
  std::FILE* out = stdout;
  if (!options.Out.empty()) {
    out = std::fopen(options.Out.c_str(), "a");
    if (out == nullptr) {
      std::fprintf(stderr, "datagen: cannot write %s\n", options.Out.c_str());
      return 1;
    }
  }
  Run run(options, openings, out);
  std::vector<std::thread> threads;
  for (int t = 1; t < std::min<long>(options.Threads, options.Games); ++t) {
    threads.emplace_back(PlayGames, std::ref(run));
  }
  PlayGames(run);
  for (std::thread& thread : threads) thread.join();
  std::fprintf(stderr, "\n");
  const bool written = std::ferror(out) == 0;
  if (out != stdout) std::fclose(out);
  if (!written) {
    std::fprintf(stderr, "datagen: cannot write %s\n", options.Out.c_str());
    return 1;
  }
  return 0;
}
