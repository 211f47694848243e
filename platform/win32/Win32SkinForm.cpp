#include "platform/win32/Win32SkinForm.h"

#include <commctrl.h>
#include <windowsx.h>

#include "platform/win32/Win32Text.h"

namespace loafix::win32 {
namespace {

constexpr wchar_t kFormClass[] = L"LoafixForm";
constexpr int kIconResource = 1;
// While the tooltip shows, its text is asked again on this timer of the window.
constexpr UINT_PTR kTipTimer = 1;
// Posted to itself once a restore of the minimized window is over.
constexpr UINT kUnminimized = WM_APP + 1;

COLORREF ToColorRef(std::uint32_t rgb) {
  return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

}  // namespace

SkinForm* SkinForm::Of(HWND window) {
  wchar_t name[32];
  if (!window || !GetClassNameW(window, name, 32) || lstrcmpW(name, kFormClass) != 0)
    return nullptr;
  return reinterpret_cast<SkinForm*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

SkinForm::SkinForm(HINSTANCE instance, const FormSpec& layout, EventCore& events)
    : layout_(layout), events_(events) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  if (!GetClassInfoExW(instance, kFormClass, &wc)) {
    wc = WNDCLASSEXW{};
    wc.cbSize = sizeof wc;
    // No CS_DBLCLKS: a quick second click is another click.
    wc.lpfnWndProc = &SkinForm::WindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.lpszClassName = kFormClass;
    RegisterClassExW(&wc);
  }

  const int width = TwipsToPx(layout.clientWidth), height = TwipsToPx(layout.clientHeight);
  // WS_POPUP without border or caption: the client area is the whole window, so it
  // sits exactly where the description puts it. WS_EX_TOOLWINDOW keeps it off the
  // taskbar (except while minimized).
  constexpr DWORD kStyle = WS_POPUP | WS_CLIPCHILDREN;
  constexpr DWORD kExStyle = WS_EX_TOOLWINDOW | WS_EX_CONTROLPARENT;
  const std::wstring caption = Utf8ToWide(layout.caption);
  if (layout.placement == Placement::Default) {
    // The window system's default position (CW_USEDEFAULT) is given to overlapped
    // windows only; a popup asking for it lands at 0, 0. So the window is born
    // overlapped where the system puts it, then becomes a borderless popup there.
    window_ = CreateWindowExW(kExStyle, kFormClass, caption.c_str(), WS_OVERLAPPED | WS_CLIPCHILDREN,
                              CW_USEDEFAULT, CW_USEDEFAULT, width, height, nullptr, nullptr,
                              instance, nullptr);
    SetWindowLongPtrW(window_, GWL_STYLE, kStyle);
    SetWindowPos(window_, nullptr, 0, 0, width, height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  } else {
    window_ =
        CreateWindowExW(kExStyle, kFormClass, caption.c_str(), kStyle, TwipsToPx(layout.left),
                        TwipsToPx(layout.top), width, height, nullptr, nullptr, instance, nullptr);
  }
  SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));

  if (!layout.background.empty()) {
    // Resource names are found in any letter case.
    picture_ = static_cast<HBITMAP>(LoadImageW(instance, Utf8ToWide(layout.background).c_str(),
                                               IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  }
  if (layout.hasIcon) {
    HICON icon = LoadIconW(instance, MAKEINTRESOURCEW(kIconResource));
    if (icon) SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
  }
  // The default font of the program's windows: MS Sans Serif, 8 points.
  font_ = CreateFontW(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, DEFAULT_QUALITY, 0,
                      L"MS Sans Serif");

  // Created in the description's order, which is the tab order.
  for (const ControlSpec& c : layout.controls) {
    captions_.push_back(c.kind == ControlKind::Label ? c.text : std::string());
    HWND box = nullptr;
    if (c.kind != ControlKind::Label) {
      const RECT r = pixels(c);
      DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER;
      style |= c.kind == ControlKind::MultiLineTextBox
                   ? ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL
                   : ES_AUTOHSCROLL;
      box =
          CreateWindowExW(0, L"Edit", Utf8ToWide(c.text).c_str(), style, r.left, r.top,
                          r.right - r.left, r.bottom - r.top, window_, nullptr, instance, nullptr);
      SendMessageW(box, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    }
    boxes_.push_back(box);
  }
}

SkinForm::~SkinForm() {
  if (tip_) DestroyWindow(tip_);
  if (window_) {
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
  }
  if (picture_) DeleteObject(picture_);
  if (bigIcon_) DestroyIcon(bigIcon_);
  if (smallIcon_) DestroyIcon(smallIcon_);
  if (font_) DeleteObject(font_);
}

RECT SkinForm::pixels(const ControlSpec& c) const {
  return RECT{TwipsToPx(c.left), TwipsToPx(c.top), TwipsToPx(c.left + c.width),
              TwipsToPx(c.top + c.height)};
}

bool SkinForm::text(std::string_view control, std::string& out) const {
  for (std::size_t i = 0; i < layout_.controls.size(); ++i) {
    if (layout_.controls[i].name != control) continue;
    if (!boxes_[i]) {
      out = captions_[i];
      return true;
    }
    const int length = GetWindowTextLengthW(boxes_[i]);
    std::wstring wide(static_cast<std::size_t>(length) + 1, L'\0');
    const int n = GetWindowTextW(boxes_[i], wide.data(), length + 1);
    wide.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    out = WideToUtf8(wide);
    return true;
  }
  return false;
}

void SkinForm::setText(std::string_view control, std::string_view value) {
  for (std::size_t i = 0; i < layout_.controls.size(); ++i) {
    if (layout_.controls[i].name != control) continue;
    if (boxes_[i]) {
      SetWindowTextW(boxes_[i], Utf8ToWide(value).c_str());
    } else {
      captions_[i] = value;
      // The whole (small) window: a caption may reach past its label.
      InvalidateRect(window_, nullptr, FALSE);
    }
    return;
  }
}

void SkinForm::show() {
  ShowWindow(window_, SW_SHOW);
  if (!lastFocus_) {
    for (HWND box : boxes_) {
      if (box) {
        lastFocus_ = box;
        break;
      }
    }
  }
  if (lastFocus_ && GetActiveWindow() == window_) SetFocus(lastFocus_);
}

// The taskbar gives a window its button, or takes it away, when the window is shown or
// hidden, by its styles at that moment; so each change of style happens while hidden.
void SkinForm::minimize() {
  if (minimized_) return;
  RECT r{};
  GetWindowRect(window_, &r);
  place_ = {r.left, r.top};
  minimized_ = true;
  ShowWindow(window_, SW_HIDE);
  const LONG_PTR ex = GetWindowLongPtrW(window_, GWL_EXSTYLE);
  SetWindowLongPtrW(window_, GWL_EXSTYLE, (ex & ~WS_EX_TOOLWINDOW) | WS_EX_APPWINDOW);
  // The window menu, drawn nowhere on the skin, is the button's menu: restore, close.
  SetWindowLongPtrW(window_, GWL_STYLE, GetWindowLongPtrW(window_, GWL_STYLE) | WS_SYSMENU);
  if (!layout_.hasIcon) {
    // Each size of its own: a shared icon comes in the size first asked for.
    if (!bigIcon_) {
      const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window_, GWLP_HINSTANCE));
      const auto load = [&](int size) {
        return static_cast<HICON>(
            LoadImageW(instance, MAKEINTRESOURCEW(kIconResource), IMAGE_ICON, size, size, 0));
      };
      bigIcon_ = load(GetSystemMetrics(SM_CXICON));
      smallIcon_ = load(GetSystemMetrics(SM_CXSMICON));
    }
    SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_));
    SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_));
  }
  ShowWindow(window_, SW_MINIMIZE);
}

void SkinForm::restore() {
  if (!minimized_) return;
  ShowWindow(window_, SW_RESTORE);
  if (!IsIconic(window_)) unminimized();
}

void SkinForm::unminimized() {
  minimized_ = false;
  ShowWindow(window_, SW_HIDE);
  const LONG_PTR ex = GetWindowLongPtrW(window_, GWL_EXSTYLE);
  SetWindowLongPtrW(window_, GWL_EXSTYLE, (ex & ~WS_EX_APPWINDOW) | WS_EX_TOOLWINDOW);
  SetWindowLongPtrW(window_, GWL_STYLE, GetWindowLongPtrW(window_, GWL_STYLE) & ~WS_SYSMENU);
  if (!layout_.hasIcon) {
    SendMessageW(window_, WM_SETICON, ICON_BIG, 0);
    SendMessageW(window_, WM_SETICON, ICON_SMALL, 0);
  }
  // Where it was, whatever the system's own idea of a restored place.
  SetWindowPos(window_, nullptr, place_.x, place_.y, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  ShowWindow(window_, SW_SHOWNA);
  run(layout_.onRestore);
}

void SkinForm::setTooltip(std::function<std::string()> text) {
  tipText_ = std::move(text);
  if (tip_) return;
  tip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                         WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                         CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr,
                         reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window_, GWLP_HINSTANCE)),
                         nullptr);
  // The whole window is the tool; the tooltip watches its mouse itself and asks for
  // the text (TTN_GETDISPINFO) each time it shows.
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = window_;
  tool.uId = reinterpret_cast<UINT_PTR>(window_);
  tool.lpszText = LPSTR_TEXTCALLBACKW;
  SendMessageW(tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void SkinForm::takeTipText() {
  tipShown_ = tipText_ ? Utf8ToWide(tipText_()) : std::wstring();
}

void SkinForm::refreshTip(bool shown) {
  // While shown, the new text itself (the tooltip resizes to it); once gone, the
  // callback again, so that the next showing asks afresh.
  if (shown) takeTipText();
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.hwnd = window_;
  tool.uId = reinterpret_cast<UINT_PTR>(window_);
  tool.lpszText = shown ? tipShown_.data() : LPSTR_TEXTCALLBACKW;
  SendMessageW(tip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

void SkinForm::run(const Handler& handler) {
  // A copy: the handler may run for long (pauses inside it) while other events touch
  // this form.
  if (!handler) return;
  const Handler copy = handler;
  events_.run(copy);
}

// Pixels of a mouse message to twips of the portable layout.
void SkinForm::onButtonDown(bool left, LPARAM at) {
  if (left) SetCapture(window_);
  run(pointer_.press(left, Px(GET_X_LPARAM(at)), Px(GET_Y_LPARAM(at))));
}

void SkinForm::onButtonUp(LPARAM at) {
  const Handler& click = pointer_.release(Px(GET_X_LPARAM(at)), Px(GET_Y_LPARAM(at)));
  if (GetCapture() == window_) ReleaseCapture();
  run(click);
}

void SkinForm::paint() {
  PAINTSTRUCT ps;
  HDC target = BeginPaint(window_, &ps);
  RECT client;
  GetClientRect(window_, &client);
  // Drawn off screen, then copied at once: counters change under the eyes of the user.
  HDC dc = CreateCompatibleDC(target);
  HBITMAP canvas = CreateCompatibleBitmap(target, client.right, client.bottom);
  HGDIOBJ oldCanvas = SelectObject(dc, canvas);

  HBRUSH back = CreateSolidBrush(ToColorRef(layout_.backColor));
  FillRect(dc, &client, back);
  DeleteObject(back);
  if (picture_) {
    BITMAP info;
    GetObjectW(picture_, sizeof info, &info);
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ oldPicture = SelectObject(source, picture_);
    BitBlt(dc, 0, 0, info.bmWidth, info.bmHeight, source, 0, 0, SRCCOPY);
    SelectObject(source, oldPicture);
    DeleteDC(source);
  }

  // Labels are transparent; the earlier ones lie on top, so they are drawn last. A
  // label one line high never wraps (the substitute of the old 8-point font runs a
  // little wider), and no caption is cut at its label's edge.
  HGDIOBJ oldFont = SelectObject(dc, font_);
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  SetBkMode(dc, TRANSPARENT);
  for (std::size_t i = layout_.controls.size(); i-- > 0;) {
    const ControlSpec& c = layout_.controls[i];
    if (c.kind != ControlKind::Label || captions_[i].empty()) continue;
    RECT r = pixels(c);
    const bool wraps = r.bottom - r.top >= 2 * metrics.tmHeight;
    const std::wstring caption = Utf8ToWide(captions_[i]);
    SetTextColor(dc, ToColorRef(c.color));
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &r,
              DT_LEFT | DT_TOP | DT_NOPREFIX | DT_NOCLIP | (wraps ? DT_WORDBREAK : 0));
  }
  SelectObject(dc, oldFont);

  BitBlt(target, 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
  SelectObject(dc, oldCanvas);
  DeleteObject(canvas);
  DeleteDC(dc);
  EndPaint(window_, &ps);
}

LRESULT CALLBACK SkinForm::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  SkinForm* form = reinterpret_cast<SkinForm*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!form) return DefWindowProcW(window, message, wParam, lParam);
  return form->handle(message, wParam, lParam);
}

LRESULT SkinForm::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      paint();
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_SIZE:
      // Brought back from minimized, however (its button, Alt+Tab, another program):
      // the skin again once the restore is over.
      if (minimized_ && wParam != SIZE_MINIMIZED) PostMessageW(window_, kUnminimized, 0, 0);
      break;
    case kUnminimized:
      if (minimized_ && !IsIconic(window_)) unminimized();
      return 0;
    case WM_LBUTTONDOWN:
      onButtonDown(true, lParam);
      return 0;
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      onButtonDown(false, lParam);
      return 0;
    case WM_LBUTTONUP:
      onButtonUp(lParam);
      return 0;
    case WM_CAPTURECHANGED:
      // A drag's move loop, or another window, took the mouse: no click follows.
      if (reinterpret_cast<HWND>(lParam) != window_) pointer_.cancel();
      return 0;
    case WM_CLOSE:
      // Closed from outside (Alt+F4): the program's own windows are never destroyed.
      if (layout_.onCloseRequest) {
        run(layout_.onCloseRequest);
      } else {
        ShowWindow(window_, SW_HIDE);
      }
      return 0;
    case WM_ACTIVATE:
      // The keyboard goes back to the text box that had it.
      if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus && IsChild(window_, focus)) lastFocus_ = focus;
      } else if (lastFocus_ && IsWindow(lastFocus_)) {
        SetFocus(lastFocus_);
        return 0;
      }
      break;
    case WM_COMMAND:
      // Enter and Escape in a text box arrive as IDOK and IDCANCEL: nothing to do.
      return 0;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (!tip_ || header->hwndFrom != tip_) break;
      if (header->code == TTN_GETDISPINFOW) {
        takeTipText();
        reinterpret_cast<NMTTDISPINFOW*>(lParam)->lpszText = tipShown_.data();
      } else if (header->code == TTN_SHOW) {
        SetTimer(window_, kTipTimer, 1000, nullptr);
      } else if (header->code == TTN_POP) {
        KillTimer(window_, kTipTimer);
        refreshTip(false);
      }
      return 0;
    }
    case WM_TIMER:
      if (wParam == kTipTimer && tip_) {
        refreshTip(true);
        return 0;
      }
      break;
    default:
      break;
  }
  return DefWindowProcW(window_, message, wParam, lParam);
}

}  // namespace loafix::win32
