// Built without a window toolkit: Quiretto has only its command line.
#include "platform/book_window_platform.h"

namespace zandrell::platform {

std::unique_ptr<BookWindow> CreateBookWindow(const BookWindowTexts&, BookWindowEvents&,
                                             std::string& whyNot) {
  whyNot = "quiretto: this build has no window; quiretto --help lists the commands";
  return nullptr;
}

}  // namespace zandrell::platform
