// zandrell-uci: the engine for interfaces that speak the Universal Chess Interface
// and start their engines without arguments. Settings, log and book are those of
// the engine beside it.
#include <memory>
#include <string>

#include "protocol/startup.h"

int main(int argc, char** argv) {
  std::string commandLine = "-uci";
  for (int i = 1; i < argc; ++i) {
    commandLine += ' ';
    commandLine += argv[i];
  }
  auto engine = std::make_unique<zandrell::Engine>();
  zandrell::SetUpEnginePaths(*engine);
  return zandrell::Main(*engine, commandLine, [](zandrell::Engine&) { return 0; });
}
