#pragma once
// Quiretto's window without the window: an open book as a tree of moves, and the
// edits the window offers (marks, removal, import, merge, save), each keeping the
// book sorted and every move's bit the same in all lines that reach it.
#include <array>
#include <string>
#include <unordered_map>
#include <vector>

#include "quiretto/book_files.h"
#include "quiretto/import_games.h"

namespace zandrell::quiretto {

// One distinct move at one ply: every line whose leading moves are Prefix.
struct BookNode {
  std::string Prefix;  // " e2e4e7e5": the moves up to and including this one
  int Ply = 0;         // 0 is White's first move
  int Parent = -1;     // -1 below the start position
  std::vector<int> Children;
  std::string Move;   // "e7e5"
  std::string San;    // "e5", or the coordinate text when the move is not legal there
  std::string Label;  // "1... e5"
  bool Legal = true;
  int Lines = 0;         // lines that pass through the move
  bool Allowed = false;  // the engine may play it (its bit in the first of those lines)
};

// Pieces as letters ("K", "p", ...) or "." for an empty square, a8 first and h1 last.
using Diagram = std::array<char, 64>;

class BookTree {
 public:
  // Opens a book. A book that cannot be read for editing leaves the tree empty and
  // the findings of a check say why; a readable book's findings are kept too.
  bool Open(const std::string& path, std::string& error);
  // Starts an empty book that Save names later.
  void New();

  const std::string& Path() const { return path_; }
  const BookData& Book() const { return book_; }
  const std::vector<Finding>& Findings() const { return findings_; }
  const std::vector<BookNode>& Nodes() const { return nodes_; }
  const std::vector<int>& FirstMoves() const { return firstMoves_; }
  // The node of these leading moves, or -1.
  int Find(const std::string& prefix) const;
  // True when the book differs from the one last opened or saved.
  bool Modified() const { return book_.Lines != saved_.Lines || book_.Masks != saved_.Masks; }

  // "1. e4 e5 2. Nf3" up to the node.
  std::string LineText(int node) const;
  // The position after the node's move (the start position for -1).
  Diagram PositionAfter(int node) const;

  // Flips the node's mark in every line through it.
  void ToggleMark(int node);
  // Drops every line through the node.
  void RemoveBranch(int node);
  // Adds the games' lines with the options' masks; a move is allowed when the
  // book or the games allow it. False when a file cannot be read (error names it,
  // and the book is unchanged).
  bool Import(const std::vector<std::string>& pgnFiles, const ImportOptions& options,
              ImportTally& tally, std::string& error);
  // Adds another book's lines; a move is allowed when either book allows it.
  bool Merge(const std::string& otherPath, std::string& error);
  // Writes the book and its flag file (to path, or where it was opened from).
  bool Save(const std::string& path, std::string& error);

 private:
  void Rebuild();
  // Every move's bit as the engine reads it (from the first line through it) in all
  // lines that reach it, then sorted and without repeats.
  void Normalize();

  std::string path_;
  BookData book_;
  BookData saved_;
  std::vector<Finding> findings_;
  std::vector<BookNode> nodes_;
  std::vector<int> firstMoves_;
  std::unordered_map<std::string, int> byPrefix_;
};

}  // namespace zandrell::quiretto
