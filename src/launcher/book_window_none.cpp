// Built without a window toolkit: Quiretto has only its command line.
#include "launcher/book_window.h"

namespace zandrell {

int RunBookWindow(const std::string&, std::string& whyNot) {
  whyNot = "quiretto: this build has no window; quiretto --help lists the commands";
  return 1;
}

}  // namespace zandrell
