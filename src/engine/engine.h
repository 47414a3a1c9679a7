#pragma once
// The engine object: every piece of process-long state, grouped by subsystem, so
// that a test can make a fresh engine.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "board/board_state.h"
#include "engine/book_state.h"
#include "engine/game_record.h"
#include "engine/search_state.h"
#include "engine/thread_state.h"
#include "engine/uci_state.h"
#include "platform/ini_text.h"
#include "platform/platform.h"
#include "tables/eval_settings.h"

namespace zandrell {

// The settings file's section "Engine" as last read, parsed into a table of its
// keys (a missing file reads as empty), and the stamp of the file it was read
// from: read again only when the file changed.
struct SettingsCopy {
  bool Loaded = false;
  platform::FileStamp Stamp;
  platform::IniTable Table;
  int ReadCount = 0;  // times the file was read
};

// Start-up, wire, settings and log.
struct ShellState {
  std::int64_t PerfFrequency = 0;
  bool XboardMode = false;
  bool UciMode = false;  // the Universal Chess Interface instead of xboard's
  bool LogEnabled = false;
  bool LogPV = false;
  std::string ProgramFolder;  // folder of the executable
  // A portable copy keeps settings and log beside the executable (ProgramFolder +
  // separator + "Zandrell.ini" / lower-case base name + ".log"); an installed one
  // keeps them in the user's folders, creates those on first write, and reads the
  // packaged defaults key by key under the user's settings.
  bool InstalledCopy = false;
  std::string SettingsPath;
  std::string DefaultSettingsPath;  // "" for a portable copy
  std::string LogPath;
  std::vector<std::string> BookFolders;  // for a book name without a folder, in order
  std::string PendingInput;              // an unfinished line, completed by the next read
  bool LaterProtocol = false;            // "protover 2" or higher was received
  // Input that arrived while the engine thought, for the interpreter after it.
  std::string HeldInput;
  // The main loop reads standard input, so a think looks at it too (an engine in
  // a test reads none).
  bool WatchInput = false;
  // The settings file, read at the first setting asked for and kept while the file
  // stays as it was; writes go to the file and to this copy.
  mutable SettingsCopy Settings;
  mutable SettingsCopy DefaultSettings;  // the same for DefaultSettingsPath
  bool Terminated = false;               // Shutdown has run; nothing after it may act
  // Where protocol bytes go, how the standard handles are closed and how the
  // process ends; tests replace all three (empty: the platform's own).
  std::function<void(std::string_view)> Write;
  std::function<void()> CloseHandles;
  std::function<void()> Exit;
};

// Game-level protocol state and the clocks.
struct GameState {
  // The game is one of Chess960 ("variant fischerandom" until the next "new").
  bool Chess960 = false;
  bool EngineSide = false;  // true: the engine plays White
  bool ForceMode = false;
  bool PostThinking = false;
  float OwnTime = 300.0f;
  double OpponentTime = 300.0;
  std::int32_t MovesPerControl = 0;
  // "st": one move per control that is a fixed time per move, not a clock of one
  // move ("level 1 ...") that can run out.
  bool FixedTimePerMove = false;
  std::int32_t BaseTime = 0;
  std::int32_t Increment = 0;
  // The increment as the interface gave it, fractions kept: the hash table's
  // clock use reads it.
  double IncrementSeconds = 0.0;
  int MaxDepth = 1000;  // 1000: time control
  double TimeBank = 0.0;
  std::string OpponentName;
  int OpponentRating = 0;
  bool OpponentIsComputer = false;
  std::int32_t GameResult = 0;  // 0 on, 1 White mates, 2 Black mates, 3 draw, 4 repetition
  std::string RefusedPosition;  // position text last answered "Illegal position"
  std::unordered_map<std::string, int> PositionCounts;
  // "analyze" until "exit": the engine thinks on the position without playing;
  // AnalysisPending while the current position still wants a think.
  bool Analyzing = false;
  bool AnalysisPending = false;
  // "hard" until "easy": think on the opponent's time (with the hash table
  // only); PonderPending from the engine's move until it has pondered.
  bool Ponder = false;
  bool PonderPending = false;
  // The playing level in Elo for the engine's own moves; 0: full strength.
  int LevelElo = 0;
};

struct Engine {
  ShellState shell;
  GameState game;
  BoardState board;
  EvalSettings tables;
  BookState book;
  SearchState search;
  GameRecord record;
  EditState edit;
  UciState uci;
  ThreadsState threads;
};

// Game results.
enum : std::int32_t {
  kGameOn = 0,
  kWhiteMates = 1,
  kBlackMates = 2,
  kDrawn = 3,
  kDrawByRepetition = 4,
};

}  // namespace zandrell
