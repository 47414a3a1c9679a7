#include "board/fen_setup.h"

#include <algorithm>
#include <string>
#include <vector>

#include "board/attacks.h"
#include "board/board_tables.h"
#include "board/position_key.h"

namespace zandrell {

namespace {

std::vector<std::string_view> SplitFields(std::string_view text) {
  std::vector<std::string_view> fields;
  std::size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    std::size_t start = i;
    while (i < text.size() && text[i] != ' ' && text[i] != '\t') ++i;
    if (i > start) fields.push_back(text.substr(start, i - start));
  }
  return fields;
}

int CodeOfLetter(char letter) {
  switch (letter) {
    case 'P': return kWhitePawn;
    case 'p': return kBlackPawn;
    case 'N': return kWhiteKnight;
    case 'n': return kBlackKnight;
    case 'K': return kWhiteKing;
    case 'k': return kBlackKing;
    case 'R': return kWhiteRook;
    case 'r': return kBlackRook;
    case 'Q': return kWhiteQueen;
    case 'q': return kBlackQueen;
    case 'B': return kWhiteBishop;
    case 'b': return kBlackBishop;
    default: return 0;
  }
}

// Fills the playing squares from the placement field; false unless it names
// exactly eight ranks of eight squares, one king and at most 16 men a side, and
// no pawn on the first or last rank.
bool ReadPlacement(std::string_view field, BoardState& b) {
  int rank = 8;
  int file = 1;
  int whiteMen = 0;
  int blackMen = 0;
  int whiteKings = 0;
  int blackKings = 0;
  for (char ch : field) {
    if (ch == '/') {
      if (file != 9 || rank == 1) return false;
      --rank;
      file = 1;
    } else if (ch >= '1' && ch <= '8') {
      file += ch - '0';
      if (file > 9) return false;
    } else {
      const int code = CodeOfLetter(ch);
      if (code == 0 || file > 8) return false;
      if ((code == kWhitePawn || code == kBlackPawn) && (rank == 1 || rank == 8)) return false;
      const int square = SquareOf(file, rank);
      b.Board[square] = static_cast<std::uint8_t>(code);
      if (code == kWhiteKing) {
        ++whiteKings;
        b.WhiteKingSquare = square;
      } else if (code == kBlackKing) {
        ++blackKings;
        b.BlackKingSquare = square;
      }
      ++(code % 2 == 1 ? whiteMen : blackMen);
      ++file;
    }
  }
  return rank == 1 && file == 9 && whiteKings == 1 && blackKings == 1 && whiteMen <= 16 &&
         blackMen <= 16;
}

// A wing keeps its right only with the king and rook on their home squares;
// a lost right marks the rook's home square as touched, two lost rights the
// king's square too, so that the castling field and the generator agree.
bool ReadCastling(std::string_view field, BoardState& b, std::string* dropped) {
  bool rights[4] = {false, false, false, false};  // K, Q, k, q
  if (field != "-") {
    for (char ch : field) {
      const std::size_t at = std::string_view("KQkq").find(ch);
      if (at == std::string_view::npos) return false;
      rights[at] = true;
    }
  }
  for (int kind = kWhiteShort; kind <= kBlackLong; ++kind) {
    const CastleRule& r = kCastles[kind];
    bool& right = rights[kind - 1];
    if (right && (b.Board[r.King] != r.KingCode || b.Board[r.Rook] != r.RookCode)) {
      right = false;
      if (dropped != nullptr) *dropped += "KQkq"[kind - 1];
    }
    if (!right) b.TouchCount[r.Rook] = 1;
  }
  if (!rights[0] && !rights[1]) b.TouchCount[kCastles[kWhiteShort].King] = 1;
  if (!rights[2] && !rights[3]) b.TouchCount[kCastles[kBlackShort].King] = 1;
  return true;
}

// The rook a Chess960 castling letter names: K and Q (k and q) the outermost
// rook on that wing of the king, a file letter the rook on that file. 0 when
// there is none where the letter says.
int Rook960Of(char letter, const BoardState& b) {
  const bool white = letter >= 'A' && letter <= 'Z';
  const int rank = white ? 1 : 8;
  const int king = white ? b.WhiteKingSquare : b.BlackKingSquare;
  const int rookCode = white ? kWhiteRook : kBlackRook;
  if (RankOf(king) != rank) return 0;
  const char upper = white ? letter : static_cast<char>(letter - 'a' + 'A');
  if (upper >= 'A' && upper <= 'H') {
    const int square = SquareOf(upper - 'A' + 1, rank);
    return b.Board[square] == rookCode && square != king ? square : 0;
  }
  const int step = upper == 'K' ? 1 : -1;
  int found = 0;
  for (int square = king + step; b.Board[square] != kBorder; square += step) {
    if (b.Board[square] == rookCode) found = square;
  }
  return found;
}

// Chess960 rights in X-FEN (KQkq, or a file letter) or Shredder-FEN (file
// letters). A right without its rook on the back rank is dropped.
bool ReadCastling960(std::string_view field, BoardState& b, std::string* dropped) {
  if (field == "-") return true;
  for (char ch : field) {
    const bool white = ch >= 'A' && ch <= 'Z';
    const char upper = white ? ch : static_cast<char>(ch - 'a' + 'A');
    if (!(upper == 'K' || upper == 'Q' || (upper >= 'A' && upper <= 'H'))) return false;
    const int rook = Rook960Of(ch, b);
    if (rook == 0) {
      if (dropped != nullptr) *dropped += ch;
      continue;
    }
    const int king = white ? b.WhiteKingSquare : b.BlackKingSquare;
    const bool kingSide = rook > king;
    const int rank = white ? 1 : 8;
    const int kind =
        white ? (kingSide ? kWhiteShort : kWhiteLong) : (kingSide ? kBlackShort : kBlackLong);
    Castle960Rule& r = b.Castles960[kind];
    r.King = static_cast<std::uint8_t>(king);
    r.Rook = static_cast<std::uint8_t>(rook);
    r.KingTo = static_cast<std::uint8_t>(SquareOf(kingSide ? 7 : 3, rank));
    r.RookTo = static_cast<std::uint8_t>(SquareOf(kingSide ? 6 : 4, rank));
    r.Low = std::min({r.King, r.KingTo, r.Rook, r.RookTo});
    r.High = std::max({r.King, r.KingTo, r.Rook, r.RookTo});
    b.CastlingSquares960[king] = true;
    b.CastlingSquares960[rook] = true;
  }
  return true;
}

// The en-passant square becomes the marker the double step left behind. It must
// lie behind a pawn of the side that just moved, on an empty square whose start
// square is empty too; otherwise an en-passant capture would remove something else.
bool ReadEnPassant(std::string_view field, BoardState& b) {
  if (field == "-") return true;
  if (field.size() != 2 || field[0] < 'a' || field[0] > 'h') return false;
  const int file = field[0] - 'a' + 1;
  if (field[1] == '3' && !b.WhiteToMove) {
    const int square = SquareOf(file, 3);
    if (b.Board[square] != kEmpty || b.Board[square + 12] != kWhitePawn ||
        b.Board[square - 12] != kEmpty) {
      return false;
    }
    b.Board[square] = kWhiteMarker;
    return true;
  }
  if (field[1] == '6' && b.WhiteToMove) {
    const int square = SquareOf(file, 6);
    if (b.Board[square] != kEmpty || b.Board[square - 12] != kBlackPawn ||
        b.Board[square + 12] != kEmpty) {
      return false;
    }
    b.Board[square] = kBlackMarker;
    return true;
  }
  return false;
}

bool ReadHalfMoves(std::string_view field, int& count) {
  if (field.empty() || field.size() > 4) return false;
  count = 0;
  for (char ch : field) {
    if (ch < '0' || ch > '9') return false;
    count = count * 10 + (ch - '0');
  }
  return true;
}

}  // namespace

bool SetUpFromFen(BoardState& b, std::string_view fen, std::string* dropped, bool chess960) {
  const std::vector<std::string_view> fields = SplitFields(fen);
  if (fields.size() < 4 || fields.size() > 6) return false;

  BoardState next{};
  std::fill(std::begin(next.Board), std::end(next.Board), std::uint8_t{kBorder});
  for (int rank = 1; rank <= 8; ++rank) {
    for (int file = 1; file <= 8; ++file) next.Board[SquareOf(file, rank)] = kEmpty;
  }
  std::fill(std::begin(next.TouchCount), std::end(next.TouchCount), std::int16_t{0});
  std::fill(std::begin(next.PieceIndex), std::end(next.PieceIndex), std::uint8_t{0});
  std::fill(std::begin(next.PieceList), std::end(next.PieceList), std::uint8_t{0});

  if (!ReadPlacement(fields[0], next)) return false;
  if (fields[1] == "w") {
    next.WhiteToMove = true;
  } else if (fields[1] == "b") {
    next.WhiteToMove = false;
  } else {
    return false;
  }
  std::string droppedRights;
  next.Chess960 = chess960;
  if (!(chess960 ? ReadCastling960(fields[2], next, &droppedRights)
                 : ReadCastling(fields[2], next, &droppedRights))) {
    return false;
  }
  if (!ReadEnPassant(fields[3], next)) return false;
  int halfMoves = 0;
  if (fields.size() >= 5 && !ReadHalfMoves(fields[4], halfMoves)) return false;

  // The side that has just moved may not have left its king in check.
  const bool opponentInCheck = next.WhiteToMove
                                   ? IsAttacked(next, next.BlackKingSquare, Side::kWhite)
                                   : IsAttacked(next, next.WhiteKingSquare, Side::kBlack);
  if (opponentInCheck) return false;

  RebuildPieceList(next);
  next.FiftyCount = halfMoves;
  next.WhiteCastled = 0;
  next.BlackCastled = 0;
  next.Ply = 0;
  next.GameMoves = " ";
  next.BookPly = 21;  // a set-up position is out of the book
  SetPositionKey(next);
  b = next;
  if (dropped != nullptr) *dropped = droppedRights;
  return true;
}

}  // namespace zandrell
