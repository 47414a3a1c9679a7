#pragma once
// Quiretto's window: the book as a tree of moves, its marks, import, merge,
// removal and save (book_window_controller.h has what it does).
#include <string>

namespace zandrell {

// Shows the window with the book at bookPath (no book when empty) until it is
// closed. Returns the exit code: 0, or 1 when no window can be shown, with the
// reason in whyNot and nothing shown.
int RunBookWindow(const std::string& bookPath, std::string& whyNot);

// The book a window started without one opens: the engine's "OpeningBook"
// setting, found where the engine finds it; "" when there is none.
std::string DefaultBookPath();

}  // namespace zandrell
