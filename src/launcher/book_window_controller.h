#pragma once
// What Quiretto's window does, free of any window toolkit: it keeps the open
// book (quiretto::BookTree), answers the window's events and tells the native
// window (platform::BookWindow) what to show. Tests drive it through a fake window.
#include <string>

#include "platform/book_window_platform.h"
#include "quiretto/book_tree.h"
#include "quiretto/window_text.h"

namespace zandrell {

// The window's texts in the user's language.
platform::BookWindowTexts BookWindowTexts(bool italian);

class BookWindowController final : public platform::BookWindowEvents {
 public:
  explicit BookWindowController(bool italian) : italian_(italian) {}
  // The window to show the book in; it must outlive the controller's use of it.
  void Attach(platform::BookWindow& window);
  // Opens a book (asking first when there are unsaved changes is the caller's).
  void Open(const std::string& path);
  const quiretto::BookTree& Book() const { return book_; }

  // platform::BookWindowEvents
  void Command(platform::BookCommand command) override;
  void Chosen(int node) override;
  bool MayClose() override;

 private:
  std::string T(quiretto::WindowText id) const { return quiretto::Text(id, italian_); }
  // Runs an edit and shows the book after it, keeping the open branches and the
  // chosen move where they still are.
  template <typename Edit>
  void Change(Edit edit);
  void Show(const std::vector<std::string>& openPrefixes, const std::string& chosenPrefix);
  void ShowChosen();
  void ShowCaption();
  bool ChangesMayGo();
  std::string ChooseOne(platform::FileChoice kind, quiretto::WindowText title);
  bool Save();
  bool SaveTo(const std::string& path);
  void Remove();
  void Merge();
  void Import();

  bool italian_;
  quiretto::BookTree book_;
  platform::BookWindow* window_ = nullptr;
  int chosen_ = -1;
};

}  // namespace zandrell
