#include "quiretto/san.h"

#include "board/attacks.h"
#include "board/legal_move.h"
#include "board/make_move.h"
#include "board/movegen.h"

namespace zandrell::quiretto {

namespace {

// Kinds of piece, the same for both colours: piece code (1..12) plus one, halved.
enum Kind : int { kPawn = 1, kKnight = 2, kKing = 3, kRook = 4, kQueen = 5, kBishop = 6 };

int KindOf(int code) { return (code + 1) / 2; }

int KindOfLetter(char c) {
  switch (c) {
    case 'N': return kKnight;
    case 'B': return kBishop;
    case 'R': return kRook;
    case 'Q': return kQueen;
    case 'K': return kKing;
    default: return 0;
  }
}

char LetterOfKind(int kind) {
  switch (kind) {
    case kKnight: return 'N';
    case kBishop: return 'B';
    case kRook: return 'R';
    case kQueen: return 'Q';
    case kKing: return 'K';
    default: return 0;
  }
}

bool IsFile(char c) { return c >= 'a' && c <= 'h'; }
bool IsRank(char c) { return c >= '1' && c <= '8'; }

std::string SquareName(int square) {
  return {static_cast<char>('a' + FileOf(square) - 1), static_cast<char>('0' + RankOf(square))};
}

// What a SAN text asks for, before it is matched against the legal moves.
struct SanPattern {
  int Kind = kPawn;
  int CastleFile = 0;  // 7 (g) for the short castle, 3 (c) for the long one
  int FromFile = 0;
  int FromRank = 0;
  int ToSquare = 0;
  int PromotionKind = 0;
};

bool ReadPattern(std::string_view text, SanPattern& p) {
  while (!text.empty() &&
         (text.back() == '+' || text.back() == '#' || text.back() == '!' || text.back() == '?')) {
    text.remove_suffix(1);
  }
  if (text == "O-O" || text == "0-0") {
    p.Kind = kKing;
    p.CastleFile = 7;
    return true;
  }
  if (text == "O-O-O" || text == "0-0-0") {
    p.Kind = kKing;
    p.CastleFile = 3;
    return true;
  }
  if (text.empty()) return false;
  if (KindOfLetter(text.front()) != 0) {
    p.Kind = KindOfLetter(text.front());
    text.remove_prefix(1);
  }
  // Promotion at the end: "=Q", "Q" (or lower case after "=").
  if (p.Kind == kPawn && text.size() >= 3) {
    char last = text.back();
    int kind = KindOfLetter(last);
    if (kind == 0 && text[text.size() - 2] == '=')
      kind = KindOfLetter(static_cast<char>(last - 32));
    if (kind != 0 && kind != kKing) {
      p.PromotionKind = kind;
      text.remove_suffix(1);
      if (!text.empty() && text.back() == '=') text.remove_suffix(1);
    }
  }
  if (text.size() < 2 || !IsFile(text[text.size() - 2]) || !IsRank(text.back())) return false;
  p.ToSquare = SquareOf(text[text.size() - 2] - 'a' + 1, text.back() - '0');
  text.remove_suffix(2);
  if (!text.empty() && (text.back() == 'x' || text.back() == ':')) text.remove_suffix(1);
  if (!text.empty() && IsRank(text.back())) {
    p.FromRank = text.back() - '0';
    text.remove_suffix(1);
  }
  if (!text.empty() && IsFile(text.back())) {
    p.FromFile = text.back() - 'a' + 1;
    text.remove_suffix(1);
  }
  if (!text.empty()) return false;
  // A pawn that does not capture stays on its file.
  if (p.Kind == kPawn && p.FromFile == 0) p.FromFile = FileOf(p.ToSquare);
  return true;
}

bool Matches(const BoardState& b, const Move& m, const SanPattern& p) {
  if (p.CastleFile != 0) return m.Castle != 0 && FileOf(m.To) == p.CastleFile;
  if (m.Castle != 0 || m.To != p.ToSquare || KindOf(b.Board[m.From]) != p.Kind) return false;
  if (p.FromFile != 0 && FileOf(m.From) != p.FromFile) return false;
  if (p.FromRank != 0 && RankOf(m.From) != p.FromRank) return false;
  return true;
}

}  // namespace

SanResult ParseSan(BoardState& b, std::string_view san, Move& move) {
  SanPattern p;
  if (!ReadPattern(san, p)) return SanResult::kUnreadable;
  MoveList list;
  GenerateMoves(b, list);
  int found = 0;
  bool missingPromotion = false;
  for (int i = 0; i < list.Count; ++i) {
    const Move& m = list.Moves[i];
    if (!Matches(b, m, p)) continue;
    const int promotion = m.Promotion == 0 ? 0 : KindOf(m.Promotion);
    if (promotion != p.PromotionKind) {
      missingPromotion = missingPromotion || (p.PromotionKind == 0 && promotion != 0);
      continue;
    }
    if (!IsLegalMove(b, m)) continue;
    if (found++ == 0) move = m;
  }
  if (found == 1) return SanResult::kFound;
  if (found > 1) return SanResult::kAmbiguous;
  return missingPromotion ? SanResult::kMissingPromotion : SanResult::kIllegal;
}

std::string MoveToSan(BoardState& b, const Move& m) {
  std::string san;
  const int kind = KindOf(b.Board[m.From]);
  const bool capture = m.EnPassant != 0 || KindOf(m.Captured) <= kBishop;
  if (m.Castle != 0) {
    san = FileOf(m.To) == 7 ? "O-O" : "O-O-O";
  } else if (kind == kPawn) {
    if (capture) san = {static_cast<char>('a' + FileOf(m.From) - 1), 'x'};
    san += SquareName(m.To);
    if (m.Promotion != 0) san += {'=', LetterOfKind(KindOf(m.Promotion))};
  } else {
    san = LetterOfKind(kind);
    // Other pieces of the same kind that may go to the same square.
    bool rival = false, rivalOnFile = false, rivalOnRank = false;
    MoveList list;
    GenerateMoves(b, list);
    for (int i = 0; i < list.Count; ++i) {
      const Move& other = list.Moves[i];
      if (other.To != m.To || other.From == m.From || other.Castle != 0 ||
          KindOf(b.Board[other.From]) != kind || !IsLegalMove(b, other)) {
        continue;
      }
      rival = true;
      rivalOnFile = rivalOnFile || FileOf(other.From) == FileOf(m.From);
      rivalOnRank = rivalOnRank || RankOf(other.From) == RankOf(m.From);
    }
    if (rival) {
      if (!rivalOnFile) {
        san += static_cast<char>('a' + FileOf(m.From) - 1);
      } else if (!rivalOnRank) {
        san += static_cast<char>('0' + RankOf(m.From));
      } else {
        san += SquareName(m.From);
      }
    }
    if (capture) san += 'x';
    san += SquareName(m.To);
  }
  BoardState after = b;
  PlayMove(after, m);
  if (InCheck(after)) san += HasLegalMove(after) ? '+' : '#';
  return san;
}

}  // namespace zandrell::quiretto
