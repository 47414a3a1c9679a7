// Zandrell: started with -xboard it is a chess engine on its standard pipes;
// without it, it shows the launcher window.
#include <cstdio>
#include <memory>
#include <string>

#include "protocol/startup.h"

#ifdef ZANDRELL_HAS_LAUNCHER
#include "launcher/launcher.h"
#endif

int main(int argc, char** argv) {
  std::string commandLine;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) commandLine += ' ';
    commandLine += argv[i];
  }
  auto engine = std::make_unique<zandrell::Engine>();
#ifdef ZANDRELL_HAS_LAUNCHER
  return zandrell::Main(*engine, commandLine, zandrell::RunLauncher);
#else
  return zandrell::Main(*engine, commandLine, [](zandrell::Engine&) {
    std::fputs(
        "Zandrell: the launcher window is not available in this build; "
        "start it with -xboard to run the engine.\n",
        stderr);
    return 0;
  });
#endif
}
