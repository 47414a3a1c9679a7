// zandrell-tune: the tapered evaluation's weights fitted to game results
// (Texel's method). Reads positions with their game's result as
// zandrell-datagen writes them ("FEN [1.0]", the result for White: 1.0, 0.5,
// 0.0 or any fraction between) or whole games ("FEN;RESULT;MOVES", of which the
// quiet positions count: no check, the move played no capture or promotion,
// past the opening plies). Fits the scale K of sigmoid(K * eval / 400) first,
// then moves every weight by gradient descent over the whole set (Adam's step
// sizes), printing the error after each epoch, and writes the weights as the
// C++ source of src/search/tapered_weights.cpp.
//
// A weight whose term the positions hold too seldom (in its phase, less than
// --min-presence positions' worth, default 200) keeps its value.
//
//   zandrell-tune --data FILE [--data FILE ...] [--epochs N] [--skip PLIES]
//                 [--min-presence N] [--out FILE]
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
               "usage: zandrell-tune --data FILE [--data FILE ...] [--epochs N] [--skip PLIES]\n"
               "                     [--min-presence N] [--out FILE]\n"
               "  fits the tapered evaluation's weights to the results in the files\n"
               "  (lines \"FEN [RESULT]\" or FEN;RESULT;MOVES)\n");
  return 2;
}

Sample SampleOf(const BoardState& b, float result) {
  TermCounts counts;
  CountTerms(b, counts);
  Sample sample;
  for (std::size_t i = 0; i < counts.Count.size(); ++i) {
    if (counts.Count[i] != 0) {
      sample.Counts.emplace_back(static_cast<std::uint16_t>(i), counts.Count[i]);
    }
  }
  sample.Phase = static_cast<std::uint8_t>(counts.Phase);
  sample.Result = result;
  return sample;
}

// One "FEN [RESULT]" line; false when the line is damaged.
bool TakePosition(const std::string& line, std::vector<Sample>& samples) {
  const std::size_t open = line.rfind('[');
  const std::size_t close = line.rfind(']');
  if (open == std::string::npos || close == std::string::npos || close < open + 2) return false;
  char* end = nullptr;
  const std::string text = line.substr(open + 1, close - open - 1);
  const float result = std::strtof(text.c_str(), &end);
  if (end != text.c_str() + text.size() || !(result >= 0.0f && result <= 1.0f)) return false;
  BoardState b{};
  ResetPosition(b, false);
  if (!SetUpFromFen(b, line.substr(0, open))) return false;
  samples.push_back(SampleOf(b, result));
  return true;
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
  for (std::string move; moves >> move; ++ply) {
    if (move.size() < 4 || move[0] < 'a' || move[0] > 'h' || move[2] < 'a' || move[2] > 'h' ||
        move[1] < '1' || move[1] > '8' || move[3] < '1' || move[3] > '8') {
      return false;
    }
    Move m{};
    if (!FindLegalMove(b, move, m)) return false;
    if (ply >= skip && !InCheck(b) && !IsCaptureOrPromotion(m)) {
      samples.push_back(SampleOf(b, score));
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

// Gradient descent with Adam's step sizes over every weight; the error printed
// after each epoch is that of the weights the epoch started from.
// Which weights may move: a term's middle-game (or endgame) weight stays as it
// was while the positions holding it add up to less than minimum in that phase,
// so that a square a piece seldom stands on keeps a sound value instead of
// learning the noise of a few games.
std::vector<bool> MovableWeights(const std::vector<Sample>& samples, std::size_t count,
                                 double minimum) {
  std::vector<double> presence(count);
  for (const Sample& s : samples) {
    const double mgShare = static_cast<double>(s.Phase) / kFullPhase;
    for (const auto& [term, c] : s.Counts) {
      presence[2 * term] += mgShare;
      presence[2 * term + 1] += 1.0 - mgShare;
    }
  }
  std::vector<bool> movable(count);
  for (std::size_t i = 0; i < count; ++i) movable[i] = presence[i] >= minimum;
  return movable;
}

double Tune(const std::vector<Sample>& samples, Weights& w, double k, int epochs,
            const std::vector<bool>& movable) {
  const double rate = 1.0;
  const double beta1 = 0.9;
  const double beta2 = 0.999;
  Weights m(w.size()), v(w.size()), gradient(w.size());
  const double factor = k * std::log(10.0) / 400.0;
  const double count = static_cast<double>(samples.size());
  for (int epoch = 1; epoch <= epochs; ++epoch) {
    std::fill(gradient.begin(), gradient.end(), 0.0);
    double error = 0.0;
    for (const Sample& s : samples) {
      const double p = Sigmoid(k, EvalOf(s, w));
      error += (s.Result - p) * (s.Result - p);
      const double common = -2.0 * (s.Result - p) * p * (1.0 - p) * factor;
      const double mgShare = static_cast<double>(s.Phase) / kFullPhase;
      for (const auto& [term, c] : s.Counts) {
        gradient[2 * term] += common * c * mgShare;
        gradient[2 * term + 1] += common * c * (1.0 - mgShare);
      }
    }
    for (std::size_t i = 0; i < w.size(); ++i) {
      if (!movable[i]) continue;
      const double g = gradient[i] / count;
      m[i] = beta1 * m[i] + (1 - beta1) * g;
      v[i] = beta2 * v[i] + (1 - beta2) * g * g;
      const double mHat = m[i] / (1 - std::pow(beta1, epoch));
      const double vHat = v[i] / (1 - std::pow(beta2, epoch));
      w[i] -= rate * mHat / (std::sqrt(vHat) + 1e-8);
    }
    std::fprintf(stderr, "epoch %d: error %.6f\n", epoch, error / count);
  }
  return MeanError(samples, w, k);
}

std::string WeightsSource(const Weights& w, const std::string& how) {
  std::string text =
      "// The tapered evaluation's weights, fitted by zandrell-tune to the results of\n"
      "// the engine's own games: middle game, endgame for each term.\n" +
      how + "#include \"search/tapered_terms.h\"\n\nnamespace zandrell {\n\n" +
      "// clang-format off\n"
      "const TaperedWeights kTaperedWeights = {{\n";
  for (std::size_t i = 0; i < w.size(); i += 2) {
    text += "    {" + std::to_string(std::lround(w[i])) + ", " +
            std::to_string(std::lround(w[i + 1])) + "},\n";
  }
  return text + "}};\n// clang-format on\n\n}  // namespace zandrell\n";
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> files;
  int epochs = 500;
  int skip = 8;
  double minimum = 200.0;
  std::string out;
  std::string command = "zandrell-tune";
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (i + 1 >= argc) return Usage();
    const std::string value = argv[++i];
    if (arg == "--data") {
      files.push_back(value);
    } else if (arg == "--epochs") {
      epochs = std::atoi(value.c_str());
    } else if (arg == "--min-presence") {
      minimum = std::atof(value.c_str());
    } else if (arg == "--skip") {
      skip = std::atoi(value.c_str());
    } else if (arg == "--out") {
      out = value;
    } else {
      return Usage();
    }
    command += " " + std::string(arg) + " " + value;
  }
  if (files.empty() || epochs < 0 || skip < 0 || !(minimum >= 0.0)) return Usage();
  std::vector<Sample> samples;
  long damaged = 0;
  long read = 0;
  for (const std::string& name : files) {
    std::ifstream in(name);
    if (!in) {
      std::fprintf(stderr, "tune: cannot read %s\n", name.c_str());
      return 1;
    }
    for (std::string line; std::getline(in, line);) {
      if (!line.empty() && line.back() == '\r') line.pop_back();  // written on Windows
      if (line.empty()) continue;
      ++read;
      const bool taken = line.find(';') != std::string::npos ? TakeGame(line, skip, samples)
                                                             : TakePosition(line, samples);
      if (!taken) ++damaged;
    }
  }
  std::fprintf(stderr, "%ld lines, %ld damaged, %zu positions\n", read, damaged, samples.size());
  if (samples.empty()) return 1;

  Weights w;
  for (const TermWeight& weight : kTaperedWeights) {
    w.push_back(weight.Mg);
    w.push_back(weight.Eg);
  }
  const double k = FitScale(samples, w);
  const double start = MeanError(samples, w, k);
  std::fprintf(stderr, "K %.4f, error %.6f\n", k, start);
  const std::vector<bool> movable = MovableWeights(samples, w.size(), minimum);
  std::fprintf(stderr, "%td of %zu weights held by too few positions stay as they are\n",
               std::count(movable.begin(), movable.end(), false), w.size());
  const double error = Tune(samples, w, k, epochs, movable);
  std::fprintf(stderr, "final error %.6f\n", error);
  char figures[160];
  std::snprintf(figures, sizeof figures,
                "// %zu positions; K %.4f; error %.6f before, %.6f after %d epochs.\n",
                samples.size(), k, start, error, epochs);
  const std::string source = WeightsSource(w, "//   " + command + "\n" + figures);
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
