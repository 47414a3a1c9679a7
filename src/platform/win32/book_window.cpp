// Quiretto's window on Windows: buttons, a tree view of the moves, the chosen
// line with a board painted by the window itself, the mark's check box and a list
// of findings. What the window does is decided by the caller's BookWindowEvents.
#include "platform/win32/windows_api.h"

#include <commctrl.h>
#include <commdlg.h>

#include <array>
#include <memory>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/book_window_platform.h"

namespace zandrell::platform {

namespace {

using win32::Narrow;
using win32::Wide;

constexpr wchar_t kClassName[] = L"QuirettoBook";
constexpr wchar_t kImportClassName[] = L"QuirettoImport";
constexpr int kWidth = 780;
constexpr int kHeight = 580;
constexpr int kMargin = 8;
constexpr int kButtonHeight = 26;
constexpr int kTreeWidth = 380;
constexpr int kFindingsHeight = 130;
constexpr int kSquare = 30;
constexpr int kButtonId = 100;  // + the command's number
constexpr int kTreeId = 200;
constexpr int kMarkId = 201;
constexpr int kTop = kMargin + kButtonHeight + kMargin;
constexpr int kRight = kMargin + kTreeWidth + kMargin;
constexpr RECT kBoard{kRight, kTop + 54, kRight + 8 * kSquare, kTop + 54 + 8 * kSquare};

HWND Child(HWND parent, const wchar_t* kind, const std::string& text, DWORD style, int x, int y,
           int w, int h, int id) {
  HWND child = CreateWindowExW(0, kind, Wide(text).c_str(), WS_CHILD | WS_VISIBLE | style, x, y, w,
                               h, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                               GetModuleHandleW(nullptr), nullptr);
  SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), TRUE);
  return child;
}

// The import options in a small modal window of their own.
class ImportDialog {
 public:
  ImportDialog(HWND owner, const ImportDialogTexts& texts, ImportChoices& choices)
      : owner_(owner), texts_(texts), choices_(choices) {}

  bool Run() {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = &ImportDialog::Procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kImportClassName;
    RegisterClassExW(&windowClass);
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    RECT frame{0, 0, 320, 190};
    AdjustWindowRectEx(&frame, style, FALSE, WS_EX_DLGMODALFRAME);
    RECT owner{};
    GetWindowRect(owner_, &owner);
    window_ =
        CreateWindowExW(WS_EX_DLGMODALFRAME, kImportClassName, Wide(texts_.Title).c_str(), style,
                        owner.left + 60, owner.top + 60, frame.right - frame.left,
                        frame.bottom - frame.top, owner_, nullptr, GetModuleHandleW(nullptr), this);
    if (window_ == nullptr) return false;
    Child(window_, L"STATIC", texts_.Plies, 0, 12, 14, 180, 20, 0);
    plies_ = Child(window_, L"EDIT", std::to_string(choices_.Plies),
                   WS_BORDER | WS_TABSTOP | ES_NUMBER, 200, 10, 100, 24, 0);
    Child(window_, L"STATIC", texts_.MinGames, 0, 12, 46, 180, 20, 0);
    games_ = Child(window_, L"EDIT", std::to_string(choices_.MinGames),
                   WS_BORDER | WS_TABSTOP | ES_NUMBER, 200, 42, 100, 24, 0);
    winners_ = Child(window_, L"BUTTON", texts_.WinnersOnly, BS_AUTOCHECKBOX | WS_TABSTOP, 12, 74,
                     290, 24, 0);
    Child(window_, L"STATIC", texts_.Side, 0, 12, 110, 180, 20, 0);
    side_ = Child(window_, L"COMBOBOX", "", CBS_DROPDOWNLIST | WS_TABSTOP | WS_VSCROLL, 200, 106,
                  100, 120, 0);
    for (const std::string& name : texts_.Sides) {
      SendMessageW(side_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(name).c_str()));
    }
    SendMessageW(side_, CB_SETCURSEL, static_cast<WPARAM>(choices_.Side), 0);
    ok_ = Child(window_, L"BUTTON", texts_.Ok, BS_DEFPUSHBUTTON | WS_TABSTOP, 120, 150, 90, 28, 0);
    cancel_ = Child(window_, L"BUTTON", texts_.Cancel, WS_TABSTOP, 220, 150, 90, 28, 0);

    EnableWindow(owner_, FALSE);
    ShowWindow(window_, SW_SHOWNORMAL);
    MSG message;
    while (window_ != nullptr && GetMessageW(&message, nullptr, 0, 0) > 0) {
      if (window_ != nullptr && IsDialogMessageW(window_, &message)) continue;
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    EnableWindow(owner_, TRUE);
    SetForegroundWindow(owner_);
    return accepted_;
  }

 private:
  static int Number(HWND edit) {
    wchar_t text[16] = {};
    GetWindowTextW(edit, text, 15);
    return _wtoi(text);
  }

  void Finish(bool accept) {
    if (accept) {
      choices_.Plies = Number(plies_);
      choices_.MinGames = Number(games_);
      choices_.WinnersOnly = SendMessageW(winners_, BM_GETCHECK, 0, 0) == BST_CHECKED;
      const LRESULT side = SendMessageW(side_, CB_GETCURSEL, 0, 0);
      choices_.Side = side < 0 ? 0 : static_cast<int>(side);
    }
    accepted_ = accept;
    EnableWindow(owner_, TRUE);
    DestroyWindow(window_);
  }

  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
      case WM_COMMAND:
        if (reinterpret_cast<HWND>(lParam) == ok_ || LOWORD(wParam) == IDOK) {
          Finish(true);
          return 0;
        }
        if (reinterpret_cast<HWND>(lParam) == cancel_ || LOWORD(wParam) == IDCANCEL) {
          Finish(false);
          return 0;
        }
        break;
      case WM_CLOSE: Finish(false); return 0;
      case WM_DESTROY: window_ = nullptr; return 0;
      default: break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
  }

  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
      auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
      auto* self = static_cast<ImportDialog*>(create->lpCreateParams);
      self->window_ = window;
      SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<ImportDialog*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr || self->window_ == nullptr) {
      return DefWindowProcW(window, message, wParam, lParam);
    }
    return self->Handle(message, wParam, lParam);
  }

  HWND owner_;
  const ImportDialogTexts& texts_;
  ImportChoices& choices_;
  HWND window_ = nullptr;
  HWND plies_ = nullptr, games_ = nullptr, winners_ = nullptr, side_ = nullptr;
  HWND ok_ = nullptr, cancel_ = nullptr;
  bool accepted_ = false;
};

class Win32BookWindow final : public BookWindow {
 public:
  Win32BookWindow(const BookWindowTexts& texts, BookWindowEvents& events)
      : texts_(texts), events_(events) {
    board_.fill('.');
  }

  ~Win32BookWindow() override {
    if (window_ != nullptr) DestroyWindow(window_);
  }

  bool Create(std::string& whyNot) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TREEVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = &Win32BookWindow::Procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
    windowClass.lpszClassName = kClassName;
    RegisterClassExW(&windowClass);

    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    RECT frame{0, 0, kWidth, kHeight};
    AdjustWindowRectEx(&frame, style, FALSE, 0);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    window_ = CreateWindowExW(0, kClassName, L"Quiretto", style,
                              (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                              (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height, nullptr,
                              nullptr, instance, this);
    if (window_ == nullptr) {
      whyNot = "quiretto: the window cannot be opened; quiretto --help lists the commands";
      return false;
    }
    HDC dc = GetDC(window_);
    HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    int left = kMargin;
    for (std::size_t n = 0; n < texts_.Buttons.size(); ++n) {
      const std::wstring text = Wide(texts_.Buttons[n]);
      SIZE size{};
      GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
      const int w = size.cx + 24;
      buttons_[n] = Child(window_, L"BUTTON", texts_.Buttons[n], BS_PUSHBUTTON | WS_TABSTOP, left,
                          kMargin, w, kButtonHeight, kButtonId + static_cast<int>(n));
      left += w + 4;
    }
    SelectObject(dc, old);
    ReleaseDC(window_, dc);

    const int findingsTop = kHeight - kFindingsHeight;
    tree_ = Child(window_, WC_TREEVIEWW, "",
                  WS_BORDER | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT |
                      TVS_SHOWSELALWAYS,
                  kMargin, kTop, kTreeWidth, findingsTop - kTop - kMargin, kTreeId);
    const int rightWidth = kWidth - kRight - kMargin;
    line_ = Child(window_, L"STATIC", "", SS_LEFT, kRight, kTop, rightWidth, 48, 0);
    mark_ = Child(window_, L"BUTTON", texts_.Mark, BS_CHECKBOX | WS_TABSTOP, kRight,
                  kBoard.bottom + 8, rightWidth, 24, kMarkId);
    Child(window_, L"STATIC", texts_.Findings, SS_LEFT, kMargin, findingsTop, kWidth - 2 * kMargin,
          20, 0);
    findings_ =
        Child(window_, L"LISTBOX", "", WS_BORDER | WS_VSCROLL | WS_HSCROLL | LBS_NOSEL, kMargin,
              findingsTop + 20, kWidth - 2 * kMargin, kFindingsHeight - 20 - kMargin, 0);
    SendMessageW(findings_, LB_SETHORIZONTALEXTENT, 2000, 0);
    return true;
  }

  void SetCaption(const std::string& caption) override {
    SetWindowTextW(window_, Wide(caption).c_str());
  }

  void ShowTree(const std::vector<BookRow>& rows, const std::vector<int>& open,
                int chosen) override {
    filling_ = true;
    SendMessageW(tree_, WM_SETREDRAW, FALSE, 0);
    TreeView_DeleteAllItems(tree_);
    items_.clear();
    looks_.clear();
    HTREEITEM chosenItem = nullptr;
    for (const BookRow& row : rows) {
      std::wstring label = Wide(row.Label);
      TVINSERTSTRUCTW insert{};
      insert.hParent = row.Parent < 0 ? TVI_ROOT : items_[row.Parent];
      insert.hInsertAfter = TVI_LAST;
      insert.item.mask = TVIF_TEXT | TVIF_PARAM;
      insert.item.pszText = label.data();
      insert.item.lParam = row.Node;
      HTREEITEM item = TreeView_InsertItem(tree_, &insert);
      items_[row.Node] = item;
      looks_[row.Node] = row.Wrong ? 2 : row.Dim ? 1 : 0;
      if (row.Node == chosen) chosenItem = item;
    }
    for (int node : open) {
      auto found = items_.find(node);
      if (found != items_.end()) TreeView_Expand(tree_, found->second, TVE_EXPAND);
    }
    TreeView_SelectItem(tree_, chosenItem);
    SendMessageW(tree_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(tree_, nullptr, TRUE);
    filling_ = false;
  }

  std::vector<int> OpenNodes() override {
    std::vector<int> open;
    for (const auto& [node, item] : items_) {
      if ((TreeView_GetItemState(tree_, item, TVIS_EXPANDED) & TVIS_EXPANDED) != 0) {
        open.push_back(node);
      }
    }
    return open;
  }

  void ShowChosen(const std::string& line, const std::array<char, 64>& board, bool mark,
                  bool markEnabled) override {
    SetWindowTextW(line_, Wide(line).c_str());
    board_ = board;
    InvalidateRect(window_, &kBoard, FALSE);
    SendMessageW(mark_, BM_SETCHECK, mark ? BST_CHECKED : BST_UNCHECKED, 0);
    EnableWindow(mark_, markEnabled ? TRUE : FALSE);
    EnableWindow(buttons_[static_cast<std::size_t>(BookCommand::kRemove)],
                 markEnabled ? TRUE : FALSE);
  }

  void ShowFindings(const std::vector<std::string>& lines) override {
    SendMessageW(findings_, LB_RESETCONTENT, 0, 0);
    for (const std::string& line : lines) {
      SendMessageW(findings_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(line).c_str()));
    }
  }

  std::vector<std::string> ChooseFiles(FileChoice kind, const std::string& title,
                                       const std::string& filterName, const std::string& pattern,
                                       const std::string& start) override {
    std::wstring filter = Wide(filterName) + L'\0' + Wide(pattern) + L'\0';
    filter += L'\0';
    std::wstring buffer(32768, L'\0');
    const std::wstring first = Wide(start);
    if (kind == FileChoice::kSave && first.size() < buffer.size()) {
      buffer.replace(0, first.size(), first);
    }
    const std::wstring caption = Wide(title);
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = window_;
    dialog.lpstrFilter = filter.c_str();
    dialog.lpstrFile = buffer.data();
    dialog.nMaxFile = static_cast<DWORD>(buffer.size());
    dialog.lpstrTitle = caption.c_str();
    dialog.lpstrDefExt = L"txt";
    std::vector<std::string> files;
    if (kind == FileChoice::kSave) {
      dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
      if (GetSaveFileNameW(&dialog) != 0) files.push_back(Narrow(buffer.c_str()));
      return files;
    }
    dialog.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_EXPLORER;
    if (kind == FileChoice::kOpenMany) dialog.Flags |= OFN_ALLOWMULTISELECT;
    if (GetOpenFileNameW(&dialog) == 0) return files;
    // One path, or the folder and then each name, each ended by a NUL.
    const std::wstring folder = buffer.c_str();
    std::size_t at = folder.size() + 1;
    while (at < buffer.size() && buffer[at] != L'\0') {
      const std::wstring name = buffer.c_str() + at;
      files.push_back(Narrow(folder + L"\\" + name));
      at += name.size() + 1;
    }
    if (files.empty()) files.push_back(Narrow(folder));
    return files;
  }

  int Ask(const std::string& question, const std::vector<std::string>& buttons) override {
    if (win32::Headless()) {
      win32::WriteStandardError(question + "\n");
      return 0;
    }
    // The system's buttons: Yes, No and Cancel for three answers, OK and Cancel for two.
    const bool three = buttons.size() >= 3;
    const int answer = MessageBoxW(window_, Wide(question).c_str(), L"Quiretto",
                                   (three ? MB_YESNOCANCEL : MB_OKCANCEL) | MB_ICONQUESTION);
    if (answer == IDYES || answer == IDOK) return 1;
    if (answer == IDNO) return 2;
    return 0;
  }

  void Tell(const std::string& text, bool problem) override {
    if (win32::Headless()) {
      win32::WriteStandardError(text + "\n");
      return;
    }
    MessageBoxW(window_, Wide(text).c_str(), L"Quiretto",
                MB_OK | (problem ? MB_ICONERROR : MB_ICONINFORMATION));
  }

  bool AskImport(const ImportDialogTexts& texts, ImportChoices& choices) override {
    ImportDialog dialog(window_, texts, choices);
    return dialog.Run();
  }

  void Run() override {
    ShowWindow(window_, SW_SHOWNORMAL);
    UpdateWindow(window_);
    MSG message;
    while (window_ != nullptr && GetMessageW(&message, nullptr, 0, 0) > 0) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }

 private:
  void PaintBoard(HDC dc) {
    HBRUSH light = CreateSolidBrush(RGB(240, 217, 181));
    HBRUSH dark = CreateSolidBrush(RGB(181, 136, 99));
    HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    for (int i = 0; i < 64; ++i) {
      const int x = kBoard.left + (i % 8) * kSquare;
      const int y = kBoard.top + (i / 8) * kSquare;
      RECT square{x, y, x + kSquare, y + kSquare};
      FillRect(dc, &square, (i / 8 + i % 8) % 2 == 0 ? light : dark);
      const char piece = board_[static_cast<std::size_t>(i)];
      if (piece == '.') continue;
      const bool white = piece >= 'A' && piece <= 'Z';
      HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(white ? WHITE_BRUSH : BLACK_BRUSH));
      HGDIOBJ oldPen = SelectObject(dc, GetStockObject(BLACK_PEN));
      Ellipse(dc, x + 3, y + 3, x + kSquare - 3, y + kSquare - 3);
      SelectObject(dc, oldPen);
      SelectObject(dc, oldBrush);
      SetTextColor(dc, white ? RGB(0, 0, 0) : RGB(255, 255, 255));
      const wchar_t text[2] = {static_cast<wchar_t>(white ? piece : piece - 'a' + 'A'), L'\0'};
      DrawTextW(dc, text, 1, &square, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
    SelectObject(dc, oldFont);
    DeleteObject(light);
    DeleteObject(dark);
  }

  // Forbidden moves grey, wrong ones red, as the tree's own colours allow.
  LRESULT DrawTreeItem(NMTVCUSTOMDRAW* draw) {
    switch (draw->nmcd.dwDrawStage) {
      case CDDS_PREPAINT: return CDRF_NOTIFYITEMDRAW;
      case CDDS_ITEMPREPAINT: {
        auto found = looks_.find(static_cast<int>(draw->nmcd.lItemlParam));
        if (found != looks_.end() && found->second != 0 &&
            (draw->nmcd.uItemState & CDIS_SELECTED) == 0) {
          draw->clrText = found->second == 2 ? RGB(200, 0, 0) : GetSysColor(COLOR_GRAYTEXT);
        }
        return CDRF_DODEFAULT;
      }
      default: return CDRF_DODEFAULT;
    }
  }

  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
      case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window_, &paint);
        PaintBoard(dc);
        EndPaint(window_, &paint);
        return 0;
      }
      case WM_COMMAND: {
        const int id = LOWORD(wParam);
        if (HIWORD(wParam) != BN_CLICKED) break;
        if (id == kMarkId) {
          events_.Command(BookCommand::kToggleMark);
        } else if (id >= kButtonId && id < kButtonId + kBookCommandButtons) {
          events_.Command(static_cast<BookCommand>(id - kButtonId));
        }
        return 0;
      }
      case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (header->hwndFrom != tree_) break;
        if (header->code == NM_CUSTOMDRAW) {
          return DrawTreeItem(reinterpret_cast<NMTVCUSTOMDRAW*>(lParam));
        }
        if (header->code == TVN_SELCHANGEDW && !filling_) {
          auto* change = reinterpret_cast<NMTREEVIEWW*>(lParam);
          events_.Chosen(
              change->itemNew.hItem == nullptr ? -1 : static_cast<int>(change->itemNew.lParam));
        }
        return 0;
      }
      case WM_CLOSE:
        if (events_.MayClose()) DestroyWindow(window_);
        return 0;
      case WM_DESTROY:
        window_ = nullptr;
        PostQuitMessage(0);
        return 0;
      default: break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
  }

  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
      auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
      auto* self = static_cast<Win32BookWindow*>(create->lpCreateParams);
      self->window_ = window;
      SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Win32BookWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr || self->window_ == nullptr) {
      return DefWindowProcW(window, message, wParam, lParam);
    }
    return self->Handle(message, wParam, lParam);
  }

  BookWindowTexts texts_;
  BookWindowEvents& events_;
  HWND window_ = nullptr;
  std::array<HWND, kBookCommandButtons> buttons_{};
  HWND tree_ = nullptr;
  HWND line_ = nullptr;
  HWND mark_ = nullptr;
  HWND findings_ = nullptr;
  std::array<char, 64> board_{};
  std::unordered_map<int, HTREEITEM> items_;
  std::unordered_map<int, int> looks_;  // node -> 0 plain, 1 forbidden, 2 not legal
  bool filling_ = false;
};

}  // namespace

std::unique_ptr<BookWindow> CreateBookWindow(const BookWindowTexts& texts, BookWindowEvents& events,
                                             std::string& whyNot) {
  // Without a visible desktop (a service, or the test runs) nobody could use it.
  if (win32::Headless()) {
    whyNot = "quiretto: the window needs a desktop; quiretto --help lists the commands";
    return nullptr;
  }
  auto window = std::make_unique<Win32BookWindow>(texts, events);
  if (!window->Create(whyNot)) return nullptr;
  return window;
}

}  // namespace zandrell::platform
