// quiretto: writes and checks Zandrell's opening books. Started without
// arguments, or with a book alone, it opens its window; quiretto --help lists the
// commands of its command line.
#include <iostream>
#include <string>
#include <vector>

#include "launcher/book_window.h"
#include "platform/platform.h"
#include "quiretto/commands.h"

namespace {

// A book's name rather than a command or an option: what the launcher passes.
bool IsBookAlone(const std::vector<std::string>& arguments) {
  return arguments.size() == 1 && arguments[0].find('.') != std::string::npos &&
         arguments[0][0] != '-';
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> arguments(argv + 1, argv + argc);
  if (arguments.empty() || IsBookAlone(arguments)) {
    const std::string book = arguments.empty() ? zandrell::DefaultBookPath() : arguments[0];
    std::string whyNot;
    if (zandrell::RunBookWindow(book, whyNot) == 0) return 0;
    // No window here: the command line answers as it always has.
    zandrell::platform::UseParentConsole();
    std::cerr << whyNot << "\n";
  }
  zandrell::platform::UseParentConsole();
  std::ios::sync_with_stdio(false);
  const int status = zandrell::quiretto::RunQuiretto(arguments, std::cout, std::cerr);
  std::cout.flush();
  return status;
}
