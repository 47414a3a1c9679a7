#include "quiretto/pgn.h"

#include <string_view>

namespace zandrell::quiretto {

namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool EndsToken(char c) {
  return IsBlank(c) || c == '{' || c == '}' || c == '(' || c == ')' || c == ';' || c == '[' ||
         c == ']' || c == '$';
}
// "!!", "?!", "+-", "=", "+/-", and the symbols some programs write for them
// (bytes past ASCII): a comment on the move before, never a move. "--" is a null move.
bool IsAnnotation(const std::string& token) {
  if (token.empty() || token == "--") return false;
  for (char c : token) {
    if (static_cast<unsigned char>(c) < 0x80 &&
        std::string_view("!?+-=/~").find(c) == std::string_view::npos) {
      return false;
    }
  }
  return true;
}
bool IsResult(const std::string& token) {
  return token == "1-0" || token == "0-1" || token == "1/2-1/2" || token == "*";
}

}  // namespace

PgnReader::PgnReader(const std::string& text, int maxMoves) : text_(text), maxMoves_(maxMoves) {}

void PgnReader::SkipLine() {
  while (at_ < text_.size() && text_[at_] != '\n') ++at_;
}

void PgnReader::SkipComment(PgnGame& game) {
  const int opened = line_;
  ++at_;
  while (at_ < text_.size() && text_[at_] != '}') {
    if (text_[at_] == '\n') ++line_;
    ++at_;
  }
  if (at_ >= text_.size()) {
    Damaged(game, "line " + std::to_string(opened) + ": a comment \"{\" is never closed");
    return;
  }
  ++at_;
}

void PgnReader::Damaged(PgnGame& game, const std::string& what) {
  if (game.Damage.empty()) game.Damage = what;
}

void PgnReader::ReadTag(PgnGame& game) {
  // [Name "value"], the value with \" and \\ escapes; a broken pair ends at its line.
  ++at_;
  std::string name;
  while (at_ < text_.size() && !IsBlank(text_[at_]) && text_[at_] != '"' && text_[at_] != ']') {
    name += text_[at_++];
  }
  while (at_ < text_.size() && (text_[at_] == ' ' || text_[at_] == '\t')) ++at_;
  std::string value;
  if (at_ < text_.size() && text_[at_] == '"') {
    ++at_;
    while (at_ < text_.size() && text_[at_] != '"' && text_[at_] != '\n') {
      if (text_[at_] == '\\' && at_ + 1 < text_.size() && text_[at_ + 1] != '\n') ++at_;
      value += text_[at_++];
    }
  }
  while (at_ < text_.size() && text_[at_] != ']' && text_[at_] != '\n') ++at_;
  if (at_ < text_.size() && text_[at_] == ']') ++at_;
  if (name == "FEN" || (name == "SetUp" && value == "1")) game.HasSetUp = true;
  if (name == "Variant") game.Variant = value;
  if (name == "Result") game.Result = value;
}

std::string PgnReader::ReadToken() {
  std::size_t start = at_;
  while (at_ < text_.size() && !EndsToken(text_[at_])) ++at_;
  return text_.substr(start, at_ - start);
}

bool PgnReader::Next(PgnGame& game) {
  game = PgnGame{};
  bool started = false;  // a tag or a movetext token belongs to this game
  bool inMoves = false;  // the movetext has begun: a tag now starts the next game
  int depth = 0;         // nesting of variations
  int opened = 0;        // line of the outermost open variation
  auto unclosed = [&] {
    Damaged(game, "line " + std::to_string(opened) + ": a variation \"(\" is never closed");
    depth = 0;
  };
  bool atLineStart = at_ == 0 || text_[at_ - 1] == '\n';
  while (at_ < text_.size()) {
    const char c = text_[at_];
    if (c == '\n') {
      ++line_;
      ++at_;
      atLineStart = true;
      continue;
    }
    if (IsBlank(c)) {
      ++at_;
      continue;
    }
    const bool lineStart = atLineStart;
    atLineStart = false;
    if (c == '%' && lineStart) {
      SkipLine();
      continue;
    }
    if (c == ';') {
      SkipLine();
      continue;
    }
    if (c == '{') {
      SkipComment(game);
      continue;
    }
    if (c == '}') {
      ++at_;
      continue;
    }
    if (c == '(') {
      if (depth++ == 0) opened = line_;
      ++at_;
      continue;
    }
    if (c == ')') {
      if (depth > 0) {
        --depth;
      } else if (inMoves) {
        Damaged(game, "line " + std::to_string(line_) + ": \")\" closes no variation");
      }
      ++at_;
      continue;
    }
    // A tag pair at the start of a line begins the next game even inside a variation
    // left open.
    if (c == '[' && depth > 0 && lineStart) unclosed();
    if (c == '[' && depth == 0) {
      if (inMoves) return true;  // the game had no result: the next one begins here
      if (!started) game.FirstLine = line_;
      started = true;
      ReadTag(game);
      continue;
    }
    if (c == '$' || c == '[' || c == ']') {
      ++at_;
      if (c == '$') ReadToken();
      continue;
    }
    const int tokenLine = line_;
    std::string token = ReadToken();
    if (depth > 0) continue;
    if (!started) game.FirstLine = tokenLine;
    started = true;
    inMoves = true;
    if (IsResult(token)) {
      game.Result = token;
      game.Ended = true;
      return true;
    }
    if (IsAnnotation(token)) continue;
    // Past damage the main line is no longer certain: its moves end there.
    if (!game.Damage.empty()) continue;
    // Move numbers: "12.", "12...", and "1.e4" written together.
    std::size_t skip = 0;
    while (skip < token.size() && IsDigit(token[skip])) ++skip;
    if (skip < token.size() && token[skip] != '.' && skip > 0) skip = 0;  // "0-0" and the like
    while (skip < token.size() && token[skip] == '.') ++skip;
    token.erase(0, skip);
    if (token.empty() || token == "e.p." || token == "ep") continue;
    if (static_cast<int>(game.Moves.size()) < maxMoves_) {
      game.Moves.push_back(token);
      game.MoveLines.push_back(tokenLine);
    }
  }
  if (depth > 0) unclosed();
  return started;
}

}  // namespace zandrell::quiretto
