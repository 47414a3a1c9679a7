#include "protocol/init_engine.h"

#include <algorithm>

#include "base/numeric.h"
#include "base/settings.h"
#include "book/book.h"
#include "platform/platform.h"
#include "protocol/game.h"
#include "protocol/level_setting.h"
#include "search/hash_table.h"

namespace zandrell {

namespace {
int IntegerSetting(const Engine& e, const char* key, const char* defaultText) {
  return ToInteger16(NumericValue(ReadSetting(e, key, defaultText)));
}
}  // namespace

void SetPieceValues(EvalSettings& t) {
  t.PieceValue = {
      0,           t.PawnValue, t.PawnValue,  t.KnightValue, t.KnightValue, 5000,          5000,
      t.RookValue, t.RookValue, t.QueenValue, t.QueenValue,  t.BishopValue, t.BishopValue, 0,
      0,           t.PawnValue, t.PawnValue};
}

std::unique_ptr<Engine> NewSilentEngine(int hashMb) {
  auto engine = std::make_unique<Engine>();
  engine->shell.Write = [](std::string_view) {};
  engine->shell.Exit = [] {};
  InitEngine(*engine);
  ResizeHashTable(*engine, hashMb);
  return engine;
}

void InitEngine(Engine& e) {
  SearchState& s = e.search;
  std::fill(std::begin(s.PvLength), std::end(s.PvLength), 0);
  std::fill(&s.PvTable[0][0], &s.PvTable[0][0] + kMaxPly * kMaxPly, kNoMove);
  std::fill(&s.HistoryTable[0][0], &s.HistoryTable[0][0] + kSquareCount * kSquareCount, 0);
  std::fill(std::begin(s.KillerMove1), std::end(s.KillerMove1), kNoMove);
  std::fill(std::begin(s.KillerMove2), std::end(s.KillerMove2), kNoMove);
  std::fill(std::begin(s.KillerScore), std::end(s.KillerScore), 0);

  BoardState& b = e.board;
  std::fill(std::begin(b.PieceList), std::end(b.PieceList), std::uint8_t{0});
  std::fill(std::begin(b.PieceIndex), std::end(b.PieceIndex), std::uint8_t{0});
  std::fill(std::begin(b.FiftyHistory), std::end(b.FiftyHistory), std::int16_t{0});
  std::fill(std::begin(b.Board), std::end(b.Board), std::uint8_t{0});
  std::fill(std::begin(b.TouchCount), std::end(b.TouchCount), std::int16_t{0});

  EvalSettings& t = e.tables;
  t.PawnValue = IntegerSetting(e, "PawnValue", "100");
  t.KnightValue = IntegerSetting(e, "KnightValue", "310");
  t.BishopValue = IntegerSetting(e, "BishopValue", "313");
  t.RookValue = IntegerSetting(e, "RookValue", "500");
  t.QueenValue = IntegerSetting(e, "QueenValue", "900");
  t.Contempt = IntegerSetting(e, "Contempt", "0");
  SetPieceValues(t);

  s.PawnActiveWhite = {};
  s.PawnActiveBlack = {};
  s.KingActiveWhite = {};
  s.KingActiveBlack = {};

  // Megabytes of hash table; 0, the default, is the search without one.
  ResizeHashTable(e, IntegerSetting(e, "Hash", "0"));
  // Threads of a think with the table; the plain search always has one.
  e.threads.Count = std::clamp(IntegerSetting(e, "Threads", "1"), 1, kMaxThreads);
  ReadPlayingLevel(e);
  // A level's choices differ from one run to the next.
  s.LevelRandom = static_cast<std::uint64_t>(platform::MonotonicSeconds() * 1e9) | 1;

  e.book.BookLoaded = LoadBook(e);
  NewGame(e);
}

}  // namespace zandrell
