#include "quiretto/book_tree.h"

#include <cstdint>

#include "board/legal_move.h"
#include "board/position_text.h"
#include "platform/platform.h"
#include "quiretto/san.h"

namespace zandrell::quiretto {

namespace {

std::int32_t WithBit(std::int32_t mask, int ply, bool on) {
  if (ply < 0 || ply >= kMaskPlies) return mask;
  const std::uint32_t bit = 1u << ply;
  const auto bits = static_cast<std::uint32_t>(mask);
  return static_cast<std::int32_t>(on ? bits | bit : bits & ~bit);
}

bool Leads(const std::string& prefix, const std::string& line) {
  return line.compare(0, prefix.size(), prefix) == 0;
}

void Append(BookData& to, const BookData& from) {
  to.Lines.insert(to.Lines.end(), from.Lines.begin(), from.Lines.end());
  to.Masks.insert(to.Masks.end(), from.Masks.begin(), from.Masks.end());
}

}  // namespace

bool BookTree::Open(const std::string& path, std::string& error) {
  BookData book;
  if (!ReadBook(path, book, error)) {
    // Nothing to edit, and no name to save over the damaged files.
    New();
    findings_ = CheckBook(path);
    return false;
  }
  path_ = path;
  book_ = std::move(book);
  saved_ = book_;
  findings_ = CheckBook(path);
  Rebuild();
  return true;
}

void BookTree::New() {
  path_.clear();
  book_ = BookData{};
  saved_ = BookData{};
  findings_.clear();
  Rebuild();
}

int BookTree::Find(const std::string& prefix) const {
  auto found = byPrefix_.find(prefix);
  return found == byPrefix_.end() ? -1 : found->second;
}

void BookTree::Rebuild() {
  nodes_.clear();
  firstMoves_.clear();
  byPrefix_.clear();
  BoardState b{};
  for (std::size_t i = 0; i < book_.Lines.size(); ++i) {
    const std::string& line = book_.Lines[i];
    ResetPosition(b, true);
    bool legal = true;
    int parent = -1;
    for (int k = 0; k < MoveCount(line); ++k) {
      const std::string move = MoveAt(line, k);
      Move m{};
      legal = legal && FindLegalMove(b, move, m);
      auto [at, isNew] = byPrefix_.emplace(LeadingMoves(line, k + 1), 0);
      if (isNew) {
        at->second = static_cast<int>(nodes_.size());
        BookNode node;
        node.Prefix = at->first;
        node.Ply = k;
        node.Parent = parent;
        node.Move = move;
        node.Legal = legal;
        node.San = legal ? MoveToSan(b, m) : move;
        node.Label = std::to_string(k / 2 + 1) + (k % 2 == 0 ? ". " : "... ") + node.San;
        // The engine reads the mark from the first line that reaches the move.
        node.Allowed = HasBit(book_.Masks[i], k);
        (parent < 0 ? firstMoves_ : nodes_[static_cast<std::size_t>(parent)].Children)
            .push_back(at->second);
        nodes_.push_back(std::move(node));
      }
      parent = at->second;
      ++nodes_[static_cast<std::size_t>(parent)].Lines;
      if (legal) PlayMove(b, m);
    }
  }
}

std::string BookTree::LineText(int node) const {
  std::vector<int> path;
  for (int n = node; n >= 0; n = nodes_[static_cast<std::size_t>(n)].Parent) path.push_back(n);
  std::string text;
  for (auto it = path.rbegin(); it != path.rend(); ++it) {
    const BookNode& n = nodes_[static_cast<std::size_t>(*it)];
    if (!text.empty()) text += ' ';
    text += n.Ply % 2 == 0 ? n.Label : n.San;
  }
  return text;
}

Diagram BookTree::PositionAfter(int node) const {
  BoardState b{};
  ResetPosition(b, true);
  if (node >= 0) {
    const std::string& prefix = nodes_[static_cast<std::size_t>(node)].Prefix;
    for (int k = 0; k < MoveCount(prefix); ++k) {
      Move m{};
      if (!FindLegalMove(b, MoveAt(prefix, k), m)) break;
      PlayMove(b, m);
    }
  }
  Diagram diagram{};
  for (std::size_t i = 0; i < diagram.size(); ++i) {
    diagram[i] = PieceChar(b.Board[Square64[i]])[0];
  }
  return diagram;
}

void BookTree::ToggleMark(int node) {
  const BookNode& n = nodes_[static_cast<std::size_t>(node)];
  const bool allow = !n.Allowed;
  for (std::size_t i = 0; i < book_.Lines.size(); ++i) {
    if (Leads(n.Prefix, book_.Lines[i])) book_.Masks[i] = WithBit(book_.Masks[i], n.Ply, allow);
  }
  Normalize();
}

void BookTree::RemoveBranch(int node) {
  const std::string prefix = nodes_[static_cast<std::size_t>(node)].Prefix;
  BookData kept;
  for (std::size_t i = 0; i < book_.Lines.size(); ++i) {
    if (Leads(prefix, book_.Lines[i])) continue;
    kept.Lines.push_back(book_.Lines[i]);
    kept.Masks.push_back(book_.Masks[i]);
  }
  book_ = std::move(kept);
  Normalize();
}

bool BookTree::Import(const std::vector<std::string>& pgnFiles, const ImportOptions& options,
                      ImportTally& tally, std::string& error) {
  std::vector<OpeningLine> lines;
  tally = ImportTally{};
  for (const std::string& file : pgnFiles) {
    std::string text;
    if (!platform::ReadWholeFile(file, text)) {
      error = file + ": cannot read the games";
      return false;
    }
    ReadGames(text, file, options, lines, tally);
  }
  Normalize();
  Append(book_, BuildBook(lines, options));
  NormalizeBook(book_);
  Rebuild();
  return true;
}

bool BookTree::Merge(const std::string& otherPath, std::string& error) {
  BookData other;
  if (!ReadBook(otherPath, other, error)) return false;
  Normalize();
  NormalizeBook(other);
  Append(book_, other);
  NormalizeBook(book_);
  Rebuild();
  return true;
}

bool BookTree::Save(const std::string& path, std::string& error) {
  const std::string target = path.empty() ? path_ : path;
  if (target.empty()) {
    error = "the book has no name yet";
    return false;
  }
  Normalize();
  if (!SaveBook(target, book_, error)) return false;
  path_ = target;
  saved_ = book_;
  findings_ = CheckBook(path_);
  return true;
}

void BookTree::Normalize() {
  // Each move's bit as the engine reads it, from the first line that reaches it,
  // so that the merge of bits in NormalizeBook changes nothing that is shown.
  std::unordered_map<std::string, bool> allowed;
  for (std::size_t i = 0; i < book_.Lines.size(); ++i) {
    const std::string& line = book_.Lines[i];
    for (int k = 0; k < MoveCount(line); ++k) {
      auto [at, isNew] = allowed.emplace(LeadingMoves(line, k + 1), HasBit(book_.Masks[i], k));
      book_.Masks[i] = WithBit(book_.Masks[i], k, at->second);
    }
  }
  NormalizeBook(book_);
  Rebuild();
}

}  // namespace zandrell::quiretto
