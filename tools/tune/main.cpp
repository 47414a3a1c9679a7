// zandrell-tune: the tapered evaluation's weights fitted to game results
// (Texel's method). Reads games as zandrell-datagen writes them, takes the
// quiet positions of each (no check, the move played no capture or
// promotion, past the opening plies), and moves the weights to bring
// sigmoid(K * eval / 400) closer to the games' results, K fitted first. Writes
// the weights as a C++ source for src/search/tapered_weights.cpp.
//
//   zandrell-tune GAMES [--iterations N] [--skip PLIES] [--out FILE]
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "board/attacks.h"
#include "board/board_state.h"
#include "board/fen_setup.h"
#include "board/legal_move.h"
#include "board/perft.h"
#include "search/tapered_eval.h"

namespace {

using namespace zandrell;

// One position: its non-zero counts, its phase and its game's result for White.
struct Sample {
  std::vector<std::pair<std::uint16_t, std::int16_t>> Counts;
  std::uint8_t Phase = 0;
  float Result = 0.5f;
};

int Usage() {
  std::fprintf(stderr,
               "usage: zandrell-tune GAMES [--iterations N] [--skip PLIES] [--out FILE]\n"
               "  fits the tapered evaluation's weights to the results of GAMES\n"
               "  (lines FEN;RESULT;MOVES as zandrell-datagen writes them)\n");
  return 2;
}

bool IsQuietMove(const BoardState& b, std::string_view text) {
  if (text.size() > 4) return false;  // a promotion
  const int to = SquareOf(text[2] - 'a' + 1, text[3] - '0');
  const int code = b.Board[to];
  return code == kEmpty || code >= kWhiteMarker;
}

// The quiet positions of one game line; false when the line is damaged.
bool TakeGame(const std::string& line, int skip, std::vector<Sample>& samples) {
  const std::size_t first = line.find(';');
  const std::size_t second = first == std::string::npos ? first : line.find(';', first + 1);
  if (second == std::string::npos) return false;
  const std::string result = line.substr(first + 1, second - first - 1);
  float score;
  if (result == "1-0") {
    score = 1.0f;
  } else if (result == "0-1") {
    score = 0.0f;
  } else if (result == "1/2-1/2") {
    score = 0.5f;
  } else {
    return false;
  }
  BoardState b{};
  ResetPosition(b, false);
  if (!SetUpFromFen(b, line.substr(0, first))) return false;
  std::istringstream moves(line.substr(second + 1));
  int ply = 0;
  TermCounts counts;
  for (std::string move; moves >> move; ++ply) {
    if (move.size() < 4 || move[0] < 'a' || move[0] > 'h' || move[2] < 'a' || move[2] > 'h' ||
        move[1] < '1' || move[1] > '8' || move[3] < '1' || move[3] > '8') {
      return false;
    }
    if (ply >= skip && !InCheck(b) && IsQuietMove(b, move)) {
      CountTerms(b, counts);
      Sample sample;
      for (std::size_t i = 0; i < counts.Count.size(); ++i) {
        if (counts.Count[i] != 0) {
          sample.Counts.emplace_back(static_cast<std::uint16_t>(i), counts.Count[i]);
        }
      }
      sample.Phase = static_cast<std::uint8_t>(counts.Phase);
      sample.Result = score;
      samples.push_back(std::move(sample));
    }
    if (!CommitMoveText(b, move)) return false;
  }
  return true;
}

using Weights = std::vector<double>;  // mg, eg of each term in turn

double EvalOf(const Sample& s, const Weights& w) {
  double mg = 0.0;
  double eg = 0.0;
  for (const auto& [term, count] : s.Counts) {
    mg += count * w[2 * term];
    eg += count * w[2 * term + 1];
  }
  return (mg * s.Phase + eg * (kFullPhase - s.Phase)) / kFullPhase;
}

double Sigmoid(double k, double eval) { return 1.0 / (1.0 + std::pow(10.0, -k * eval / 400.0)); }

double MeanError(const std::vector<Sample>& samples, const Weights& w, double k) {
  double total = 0.0;
  for (const Sample& s : samples) {
    const double d = s.Result - Sigmoid(k, EvalOf(s, w));
    total += d * d;
  }
  return samples.empty() ? 0.0 : total / static_cast<double>(samples.size());
}

// The K that makes the current weights fit best, by a narrowing scan.
double FitScale(const std::vector<Sample>& samples, const Weights& w) {
  double best = 1.0;
  double step = 0.5;
  for (int round = 0; round < 6; ++round) {
    double bestError = MeanError(samples, w, best);
    for (double k = std::max(0.05, best - 5 * step); k <= best + 5 * step; k += step) {
      const double error = MeanError(samples, w, k);
      if (error < bestError) {
        bestError = error;
        best = k;
      }
    }
    step /= 5;
  }
  return best;
}

// Gradient descent with Adam's step sizes over every weight.
void Tune(const std::vector<Sample>& samples, Weights& w, double k, int iterations) {
  const double rate = 1.0;
  const double beta1 = 0.9;
  const double beta2 = 0.999;
  Weights m(w.size()), v(w.size()), gradient(w.size());
  const double factor = k * std::log(10.0) / 400.0;
  for (int it = 1; it <= iterations; ++it) {
    std::fill(gradient.begin(), gradient.end(), 0.0);
    for (const Sample& s : samples) {
      const double p = Sigmoid(k, EvalOf(s, w));
      const double common = -2.0 * (s.Result - p) * p * (1.0 - p) * factor;
      const double mgShare = static_cast<double>(s.Phase) / kFullPhase;
      for (const auto& [term, count] : s.Counts) {
        gradient[2 * term] += common * count * mgShare;
        gradient[2 * term + 1] += common * count * (1.0 - mgShare);
      }
    }
    for (std::size_t i = 0; i < w.size(); ++i) {
      const double g = gradient[i] / static_cast<double>(samples.size());
      m[i] = beta1 * m[i] + (1 - beta1) * g;
      v[i] = beta2 * v[i] + (1 - beta2) * g * g;
      const double mHat = m[i] / (1 - std::pow(beta1, it));
      const double vHat = v[i] / (1 - std::pow(beta2, it));
      w[i] -= rate * mHat / (std::sqrt(vHat) + 1e-8);
    }
    if (it % 50 == 0 || it == iterations) {
      std::fprintf(stderr, "iteration %d: error %.6f\n", it, MeanError(samples, w, k));
    }
  }
}

std::string WeightsSource(const Weights& w) {
  std::string text =
      "// The tapered evaluation's weights, fitted by zandrell-tune to the results of\n"
      "// the engine's own games: middle game, endgame for each term.\n"
      "#include \"search/tapered_terms.h\"\n\nnamespace zandrell {\n\n"
      "const TaperedWeights kTaperedWeights = {{\n";
  for (std::size_t i = 0; i < w.size(); i += 2) {
    text += "    {" + std::to_string(std::lround(w[i])) + ", " +
            std::to_string(std::lround(w[i + 1])) + "},\n";
  }
  return text + "}};\n\n}  // namespace zandrell\n";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  const std::string games = argv[1];
  int iterations = 500;
  int skip = 8;
  std::string out;
  for (int i = 2; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--iterations" && i + 1 < argc) {
      iterations = std::atoi(argv[++i]);
    } else if (arg == "--skip" && i + 1 < argc) {
      skip = std::atoi(argv[++i]);
    } else if (arg == "--out" && i + 1 < argc) {
      out = argv[++i];
    } else {
      return Usage();
    }
  }
  if (iterations < 0 || skip < 0) return Usage();
  std::ifstream in(games);
  if (!in) {
    std::fprintf(stderr, "tune: cannot read %s\n", games.c_str());
    return 1;
  }
  std::vector<Sample> samples;
  long damaged = 0;
  long read = 0;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();  // written on Windows
    if (line.empty()) continue;
    ++read;
    if (!TakeGame(line, skip, samples)) ++damaged;
  }
  std::fprintf(stderr, "%ld games, %ld damaged, %zu positions\n", read, damaged, samples.size());
  if (samples.empty()) return 1;

  Weights w;
  for (const TermWeight& weight : kTaperedWeights) {
    w.push_back(weight.Mg);
    w.push_back(weight.Eg);
  }
  const double k = FitScale(samples, w);
  std::fprintf(stderr, "K %.4f, error %.6f\n", k, MeanError(samples, w, k));
  Tune(samples, w, k, iterations);
  const std::string source = WeightsSource(w);
  if (out.empty()) {
    std::fputs(source.c_str(), stdout);
  } else {
    std::ofstream file(out);
    file << source;
    if (!file) {
      std::fprintf(stderr, "tune: cannot write %s\n", out.c_str());
      return 1;
    }
  }
  return 0;
}
