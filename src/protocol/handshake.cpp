#include "protocol/handshake.h"

#include <string>

#include "base/numeric.h"
#include "base/wire.h"
#include "protocol/engine_move.h"
#include "protocol/xboard_options.h"
#include "search/hash_table.h"

namespace zandrell {

namespace {

#define ZANDRELL_TEXT(x) #x
#define ZANDRELL_VERSION_TEXT(major, minor, patch) \
  ZANDRELL_TEXT(major) "." ZANDRELL_TEXT(minor) "." ZANDRELL_TEXT(patch)

constexpr const char* kVersion =
    ZANDRELL_VERSION_TEXT(ZANDRELL_VERSION_MAJOR, ZANDRELL_VERSION_MINOR, ZANDRELL_VERSION_PATCH);

}  // namespace

std::string EngineVersion() { return kVersion; }

void AnswerProtover(Engine& e, std::string_view version) {
  if (NumericValue(version) < 2) return;
  e.shell.LaterProtocol = true;
  SendLine(e, std::string("feature myname=\"Zandrell ") + kVersion +
                  "\" setboard=1 ping=1 usermove=0 san=0 time=1 draw=1");
  SendLine(e,
           "feature sigint=0 sigterm=1 reuse=1 analyze=1 colors=1 playother=0 name=1 "
           "variants=\"" +
               std::string(HashEnabled(e.search) ? "normal,fischerandom" : "normal") + "\"");
  // The hash table's search offers its settings to the interface's dialog, and
  // takes the interface's thread count and table size.
  if (HashEnabled(e.search)) {
    SendLine(e, "feature smp=1 memory=1");
    SendXboardOptionFeatures(e);
  }
  SendLine(e, "feature done=1");
}

void AnswerPing(Engine& e, std::string_view number) {
  // A move that is due belongs to what came before the ping.
  EngineMove(e);
  SendLine(e, "pong" + std::string(number));
}

bool EngineSideAfterGo(const Engine& e) {
  // Version 1 turns the engine to the other side; from version 2 on, "go" puts it
  // on the side to move, whatever "white" or "black" said before.
  return e.shell.LaterProtocol ? e.board.WhiteToMove : !e.game.EngineSide;
}

}  // namespace zandrell
