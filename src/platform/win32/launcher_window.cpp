// The launcher window on Windows: one window that paints its labels itself, so the
// command labels can change font and pointer as the mouse moves over them.
#include "platform/win32/windows_api.h"

#include <objbase.h>
#include <shlobj.h>

#include <array>
#include <memory>
#include <string>

#include "platform/launcher_platform.h"

namespace zandrell::platform {

namespace {

constexpr wchar_t kClassName[] = L"ZandrellLauncher";

using win32::Wide;

class Win32LauncherWindow final : public LauncherWindow {
 public:
  Win32LauncherWindow(const LauncherWindowTexts& texts, LauncherWindowEvents& events)
      : texts_(texts), events_(events) {}

  ~Win32LauncherWindow() override {
    if (window_ != nullptr) DestroyWindow(window_);
    if (commandFont_ != nullptr) DeleteObject(commandFont_);
    if (strongFont_ != nullptr) DeleteObject(strongFont_);
    if (comReady_) CoUninitialize();
  }

  bool Create(std::string& whyNot) {
    // The folder picker needs COM on this thread.
    comReady_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = &Win32LauncherWindow::Procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kClassName;
    // No icon of its own: the icon is shown inside the window instead.
    RegisterClassExW(&windowClass);

    HDC screen = GetDC(nullptr);
    dpi_ = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen != nullptr) ReleaseDC(nullptr, screen);
    if (dpi_ <= 0) dpi_ = 96;

    icon_ = LoadIconW(instance, MAKEINTRESOURCEW(1));
    if (icon_ == nullptr) icon_ = LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION));
    labelFont_ = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    const int height = -MulDiv(layout::kCommandFontPoints, dpi_, 72);
    const std::wstring face = Wide(layout::kCommandFont);
    commandFont_ = CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                               OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                               DEFAULT_PITCH | FF_SWISS, face.c_str());
    strongFont_ = CreateFontW(height, 0, 0, 0, FW_BOLD, FALSE, TRUE, FALSE, DEFAULT_CHARSET,
                              OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                              DEFAULT_PITCH | FF_SWISS, face.c_str());

    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    RECT frame{0, 0, Px(layout::kClientWidth), Px(layout::kClientHeight)};
    AdjustWindowRectEx(&frame, style, FALSE, 0);
    const int width = frame.right - frame.left;
    const int height2 = frame.bottom - frame.top;
    const int left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    const int top = (GetSystemMetrics(SM_CYSCREEN) - height2) / 2;
    window_ = CreateWindowExW(0, kClassName, Wide(texts_.Caption).c_str(), style, left, top, width,
                              height2, nullptr, nullptr, instance, this);
    if (window_ == nullptr) {
      whyNot =
          "Zandrell: the launcher window cannot be opened; start it with -xboard to run "
          "the engine";
      return false;
    }
    return true;
  }

  std::string BrowseForFolder(const std::string& prompt) override {
    BROWSEINFOA info{};
    info.hwndOwner = window_;
    info.pidlRoot = nullptr;  // the desktop
    info.lpszTitle = prompt.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    PIDLIST_ABSOLUTE item = SHBrowseForFolderA(&info);
    if (item == nullptr) return {};
    char path[260] = {};
    SHGetPathFromIDListA(item, path);
    CoTaskMemFree(item);
    path[sizeof path - 1] = '\0';
    return std::string(path);  // the text before the first NUL
  }

  void ShowCriticalMessage(const std::string& text) override {
    if (win32::Headless()) {
      win32::WriteStandardError("Error: " + text + "\n");
      return;
    }
    MessageBoxW(window_, Wide(text).c_str(), Wide(texts_.Caption).c_str(), MB_OK | MB_ICONSTOP);
  }

  void SetBusyPointer(bool busy) override {
    busy_ = busy;
    SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(busy ? IDC_WAIT : IDC_ARROW)));
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
  int Px(int twips) const { return layout::TwipsToPixels(twips, dpi_); }

  RECT Place(const TwipsRect& place) const {
    return RECT{Px(place.Left), Px(place.Top), Px(place.Left + place.Width),
                Px(place.Top + place.Height)};
  }

  // A label's rectangle, grown to its text where the text is wider: to the right,
  // or to the left for a label whose text ends at its right edge.
  RECT TextPlace(HDC dc, const TwipsRect& place, const std::wstring& text, HFONT font,
                 bool fromRight) const {
    RECT box = Place(place);
    HGDIOBJ old = SelectObject(dc, font);
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    const LONG needed = size.cx + 2;
    if (needed > box.right - box.left) {
      if (fromRight) {
        box.left = box.right - needed;
      } else {
        box.right = box.left + needed;
      }
    }
    return box;
  }

  RECT CommandPlace(HDC dc, int index) const {
    const auto i = static_cast<std::size_t>(index);
    return TextPlace(dc, layout::kCommands[i], Wide(texts_.Commands[i]), strongFont_, false);
  }

  int CommandAt(int x, int y) const {
    HDC dc = GetDC(window_);
    int found = -1;
    for (int i = 0; i < 3 && found < 0; ++i) {
      RECT box = CommandPlace(dc, i);
      POINT point{x, y};
      if (PtInRect(&box, point)) found = i;
    }
    ReleaseDC(window_, dc);
    return found;
  }

  void DrawLabel(HDC dc, const RECT& box, const std::wstring& text, HFONT font, UINT align) {
    SelectObject(dc, font);
    RECT area = box;
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &area,
              align | DT_SINGLELINE | DT_NOPREFIX | DT_VCENTER);
  }

  void Paint(HDC dc) {
    HGDIOBJ oldFont = SelectObject(dc, labelFont_);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    const RECT icon = Place(layout::kIcon);
    DrawIconEx(dc, icon.left, icon.top, icon_, icon.right - icon.left, icon.bottom - icon.top, 0,
               nullptr, DI_NORMAL);
    const std::wstring title = Wide(texts_.Title);
    DrawLabel(dc, TextPlace(dc, layout::kTitle, title, labelFont_, false), title, labelFont_,
              DT_LEFT);

    // The etched separator, across the whole window's width less 150 twips.
    RECT outer{};
    GetWindowRect(window_, &outer);
    const int windowTwips = MulDiv(outer.right - outer.left, 1440, dpi_);
    const int left = Px(layout::SeparatorLeft());
    const int right = Px(layout::SeparatorRight(windowTwips));
    const int y = Px(layout::kSeparatorTop);
    const int gap = Px(layout::kSeparatorGap) < 1 ? 1 : Px(layout::kSeparatorGap);
    HPEN shadow = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW));
    HPEN light = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_3DHILIGHT));
    HGDIOBJ oldPen = SelectObject(dc, shadow);
    MoveToEx(dc, left, y, nullptr);
    LineTo(dc, right, y);
    SelectObject(dc, light);
    MoveToEx(dc, left, y + gap, nullptr);
    LineTo(dc, right, y + gap);
    SelectObject(dc, oldPen);
    DeleteObject(shadow);
    DeleteObject(light);

    // The prompt stands on the separator and hides it behind its text.
    const std::wstring prompt = Wide(texts_.Prompt);
    const RECT promptBox = TextPlace(dc, layout::kPrompt, prompt, labelFont_, false);
    FillRect(dc, &promptBox, GetSysColorBrush(COLOR_BTNFACE));
    DrawLabel(dc, promptBox, prompt, labelFont_, DT_LEFT);

    for (int i = 0; i < 3; ++i) {
      const auto index = static_cast<std::size_t>(i);
      DrawLabel(dc, CommandPlace(dc, i), Wide(texts_.Commands[index]),
                events_.CommandHighlighted(i) ? strongFont_ : commandFont_, DT_LEFT);
    }
    const std::wstring notice = Wide(texts_.LegalNotice);
    DrawLabel(dc, TextPlace(dc, layout::kLegalNotice, notice, labelFont_, true), notice, labelFont_,
              DT_RIGHT);
    SelectObject(dc, oldFont);
  }

  void RedrawCommands() {
    HDC dc = GetDC(window_);
    for (int i = 0; i < 3; ++i) {
      RECT box = CommandPlace(dc, i);
      InvalidateRect(window_, &box, TRUE);
    }
    ReleaseDC(window_, dc);
  }

  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
      case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window_, &paint);
        Paint(dc);
        EndPaint(window_, &paint);
        return 0;
      }
      case WM_SIZE:
        InvalidateRect(window_, nullptr, TRUE);  // the separator follows the width
        return 0;
      case WM_MOUSEMOVE: {
        const int index =
            CommandAt(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
        if (index >= 0) {
          events_.CommandMouseMove(index);
        } else {
          events_.BackgroundMouseMove();
        }
        RedrawCommands();
        return 0;
      }
      case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT) {
          if (busy_) {
            SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_WAIT)));
            return TRUE;
          }
          POINT point{};
          GetCursorPos(&point);
          ScreenToClient(window_, &point);
          if (CommandAt(point.x, point.y) >= 0) {
            SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_HAND)));
            return TRUE;
          }
        }
        break;
      case WM_LBUTTONDOWN:
        pressed_ =
            CommandAt(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
        return 0;
      case WM_LBUTTONUP: {
        const int index =
            CommandAt(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
        const int clicked = pressed_;
        pressed_ = -1;
        if (clicked >= 0 && clicked == index && events_.CommandClick(clicked)) {
          DestroyWindow(window_);
        }
        return 0;
      }
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
      auto* self = static_cast<Win32LauncherWindow*>(create->lpCreateParams);
      self->window_ = window;
      SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Win32LauncherWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr || self->window_ == nullptr) {
      return DefWindowProcW(window, message, wParam, lParam);
    }
    return self->Handle(message, wParam, lParam);
  }

  LauncherWindowTexts texts_;
  LauncherWindowEvents& events_;
  HWND window_ = nullptr;
  HICON icon_ = nullptr;
  HFONT labelFont_ = nullptr;
  HFONT commandFont_ = nullptr;
  HFONT strongFont_ = nullptr;
  int dpi_ = 96;
  int pressed_ = -1;
  bool busy_ = false;
  bool comReady_ = false;
};

}  // namespace

std::unique_ptr<LauncherWindow> CreateLauncherWindow(const LauncherWindowTexts& texts,
                                                     LauncherWindowEvents& events,
                                                     std::string& whyNot) {
  // Without a visible desktop (a service, or the test runs) nobody could click it.
  if (win32::Headless()) {
    whyNot =
        "Zandrell: the launcher window needs a desktop; start it with -xboard to run the "
        "engine";
    return nullptr;
  }
  auto window = std::make_unique<Win32LauncherWindow>(texts, events);
  if (!window->Create(whyNot)) return nullptr;
  return window;
}

}  // namespace zandrell::platform
