#include "support/engine_process.h"

#include <cctype>
#include <sstream>

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "board/board_state.h"
#include "board/fen_setup.h"
#include "board/legal_move.h"

namespace zandrell::testing {

namespace fs = std::filesystem;

EngineProcess::EngineProcess(const std::string& baseName)
    : EngineProcess(baseName, ZANDRELL_BINARY) {}

EngineProcess::EngineProcess(const std::string& baseName, const std::string& builtPath) {
  fs::path built(builtPath);
  baseName_ = baseName.empty() ? built.stem().string() : baseName;
  executable_ = baseName_ + built.extension().string();
  fs::copy_file(built, folder_.Path() / executable_, fs::copy_options::overwrite_existing);
  fs::permissions(folder_.Path() / executable_, fs::perms::owner_all, fs::perm_options::add);
}

std::string EngineProcess::LogName() const {
  std::string name = baseName_;
  std::transform(name.begin(), name.end(), name.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return name + ".log";
}

bool EngineProcess::Start(const std::vector<std::string>& arguments,
                          const std::vector<std::string>& environment) {
  std::vector<std::string> env = environment;
  env.push_back("ZANDRELL_HEADLESS=1");
  return process_.Start(folder_.File(executable_), arguments, env, folder_.Path().string());
}

std::string EngineProcess::Session(const std::string& lines, int timeoutMs) {
  Send(lines);
  Send("quit\n");
  std::string out = ReadToEnd(timeoutMs);
  Wait(timeoutMs);
  return out;
}

std::string EngineProcess::ReadThroughMove(int timeoutMs) {
  std::string out = ReadUntil("\nmove ", timeoutMs);
  if (out.find("\nmove ") != std::string::npos) out += ReadUntil("\n", 5000);
  return out;
}

UciProcess::UciProcess() : EngineProcess({}, ZANDRELL_UCI_BINARY) {}

std::string UciProcess::ReadThroughBestMove(int timeoutMs) {
  std::string out = ReadUntil("bestmove ", timeoutMs);
  if (out.find("bestmove ") != std::string::npos) out += ReadUntil("\n", 5000);
  return out;
}

std::vector<std::vector<std::string>> ThinkingLines(const std::string& out) {
  std::vector<std::vector<std::string>> lines;
  std::istringstream in(out);
  for (std::string line; std::getline(in, line);) {
    std::istringstream fields(line);
    std::vector<std::string> words;
    for (std::string word; fields >> word;) words.push_back(word);
    if (words.size() >= 5 && std::isdigit(static_cast<unsigned char>(words[0][0])) &&
        words[4] != "(Book") {
      lines.push_back(words);
    }
  }
  return lines;
}

std::string LastMoveIn(const std::string& out) {
  std::size_t at = out.rfind("\nmove ");
  if (at == std::string::npos) return {};
  at += 6;
  return out.substr(at, out.find('\n', at) - at);
}

std::string BestMoveIn(const std::string& out) {
  const std::size_t at = out.rfind("bestmove ");
  if (at == std::string::npos) return {};
  std::istringstream words(out.substr(at + 9));
  std::string move;
  words >> move;
  return move;
}

bool LegalIn(const std::string& fen, const std::string& move) {
  BoardState b{};
  ResetPosition(b, false);
  Move found{};
  return SetUpFromFen(b, fen) && FindLegalMove(b, move, found);
}

}  // namespace zandrell::testing
