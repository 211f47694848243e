#include "clientsim/Win32Surface_win.h"

#include <algorithm>
#include <vector>

#include "core/Text.h"
#include "clientsim/ChatView_win.h"
#include "platform/win32/Win32Text.h"
#include "platform/win32/Win32WindowSystem.h"

namespace loafix::clientsim {
namespace {

using win32::FromHwnd;
using win32::ToHwnd;

// The window procedures are shared by windows that carry no pointer of ours: system
// class windows we subclass and MDI children created by the MDI area. One surface
// per process, so the procedures find it here.
Win32Surface* current = nullptr;

constexpr char kTimerClass[] = "ClientsimTimers";

// The messages a program can send or post to the client, and that a person's own
// typing and clicking produce; only these reach the model. Everything the window
// system sends for its own purposes (painting, sizing, WM_GETTEXT) stays with it, as
// on the simulated desktop.
bool ReachesModel(UINT message) {
  switch (message) {
    case WM_SETTEXT:
    case WM_ENABLE:
    case WM_SHOWWINDOW:
    case WM_CLOSE:
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR:
    case WM_SYSCOMMAND:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_COMMAND:
      return true;
    default:
      return message >= WM_USER && message < 0xC000;
  }
}

std::string ClassOf(HWND window) {
  char buffer[257];
  const int n = GetClassNameA(window, buffer, sizeof buffer);
  return AsciiLower(std::string_view(buffer, n > 0 ? static_cast<std::size_t>(n) : 0));
}

std::vector<HWND> Children(HWND parent) {
  std::vector<HWND> list;
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    list.push_back(child);
  return list;
}

bool IsRoom(HWND window) {
  bool rich = false, list = false, icon = false, label = false;
  for (HWND child : Children(window)) {
    const std::string c = ClassOf(child);
    rich |= c == "richcntl";
    list |= c == "_aol_listbox";
    icon |= c == "_aol_icon";
    label |= c == "_aol_static";
  }
  return rich && list && icon && label;
}

void Place(HWND window, int x, int y, int width, int height) {
  SetWindowPos(window, nullptr, x, y, std::max(width, 0), std::max(height, 0),
               SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

Win32Surface::Win32Surface(HINSTANCE instance) : instance_(instance) {
  current = this;
  WNDCLASSEXA timerClass{};
  timerClass.cbSize = sizeof timerClass;
  timerClass.lpfnWndProc = &Win32Surface::TimerProc;
  timerClass.hInstance = instance_;
  timerClass.lpszClassName = kTimerClass;
  RegisterClassExA(&timerClass);
  timerWindow_ =
      CreateWindowExA(0, kTimerClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance_, nullptr);
  font_ = CreateFontA(-13, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, CLEARTYPE_QUALITY, 0,
                      "Arial");
  boldFont_ = CreateFontA(-13, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, 0, 0, CLEARTYPE_QUALITY, 0,
                          "Arial");
}

Win32Surface::~Win32Surface() {
  if (timerWindow_) DestroyWindow(timerWindow_);
  DeleteObject(font_);
  DeleteObject(boldFont_);
  current = nullptr;
}

// ---- windows ----

void Win32Surface::registerClass(std::string_view className) {
  const std::string key = AsciiLower(className);
  if (registered_.count(key)) return;
  const std::string name(className);
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
  wc.lpfnWndProc = &Win32Surface::WindowProc;
  wc.hInstance = instance_;
  wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.hIcon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
  const bool paper = key == "richcntl" || key == "_aol_listbox" || key == "_aol_edit";
  wc.hbrBackground =
      reinterpret_cast<HBRUSH>(static_cast<INT_PTR>((paper                ? COLOR_WINDOW
                                                     : key == "mdiclient" ? COLOR_APPWORKSPACE
                                                                          : COLOR_BTNFACE) +
                                                    1));
  wc.lpszClassName = name.c_str();
  RegisterClassExA(&wc);
  registered_[key] = true;
}

Wnd Win32Surface::create(Wnd parent, std::string_view className, std::string_view caption,
                         bool onTop) {
  const HWND parentWindow = parent == 0 ? nullptr : ToHwnd(parent);
  const std::string name(className);
  const std::string text(caption);
  const std::string key = AsciiLower(className);

  Info info;
  info.className = key;
  HWND window = nullptr;
  WNDCLASSEXA system{};
  system.cbSize = sizeof system;
  const bool systemClass =
      !registered_.count(key) && GetClassInfoExA(nullptr, name.c_str(), &system) != 0;

  if (key == "mdiclient" && parentWindow) {
    // The system's MDI area: the client's windows inside it behave as a person expects
    // (title bars, moving, activation) and keep the window system's order of children.
    CLIENTCREATESTRUCT ccs{nullptr, 0xFF00};
    window = CreateWindowExA(
        WS_EX_CLIENTEDGE, "MDIClient", text.c_str(),
        WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_VSCROLL | WS_HSCROLL | WS_VISIBLE, 0, 0,
        0, 0, parentWindow, nullptr, instance_, &ccs);
    info.kind = Kind::Subclassed;
    mdiClient_ = window;
  } else if (systemClass && parentWindow) {
    const DWORD border = key == "edit" ? WS_BORDER : 0;
    window = CreateWindowExA(0, name.c_str(), text.c_str(),
                             WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | border, 0, 0, 0, 0,
                             parentWindow, nullptr, instance_, nullptr);
    info.kind = Kind::Subclassed;
  } else if (systemClass) {
    // A box of the client's own ("#32770"): a small captioned window over the frame.
    RECT over{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (frame_) GetWindowRect(frame_, &over);
    constexpr int kWidth = 340, kHeight = 150;
    window = CreateWindowExA(
        0, name.c_str(), text.c_str(), WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE,
        (over.left + over.right - kWidth) / 2, (over.top + over.bottom - kHeight) / 2, kWidth,
        kHeight, frame_, nullptr, instance_, nullptr);
    info.kind = Kind::Subclassed;
  } else {
    registerClass(className);
    if (!parentWindow) {
      info.kind = key == "aol frame25" ? Kind::Frame : Kind::Plain;
      creating_ = info;
      window = CreateWindowExA(0, name.c_str(), text.c_str(),
                               WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE, CW_USEDEFAULT,
                               CW_USEDEFAULT, 860, 620, nullptr,
                               info.kind == Kind::Frame ? frameMenu : nullptr, instance_, nullptr);
      if (info.kind == Kind::Frame) frame_ = window;
    } else if (parentWindow == mdiClient_) {
      info.kind = Kind::MdiChild;
      creating_ = info;
      const int step = 24 * (roomsCreated_++ % 8);
      window = CreateWindowExA(WS_EX_MDICHILD, name.c_str(), text.c_str(),
                               WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE, 10 + step,
                               10 + step, 600, 400, parentWindow, nullptr, instance_, nullptr);
    } else {
      info.kind = Kind::Plain;
      creating_ = info;
      window = CreateWindowExA(0, name.c_str(), text.c_str(),
                               WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0, 0,
                               0, parentWindow, nullptr, instance_, nullptr);
    }
    creating_ = Info();
  }
  if (!window) return 0;
  if (info.kind == Kind::Subclassed) {
    info.original = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
        window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Win32Surface::WindowProc)));
  }
  windows_[window] = info;
  SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);

  // New children come last in their parent's order; the MDI area instead puts the
  // window it has just activated first.
  // The modal window lies over the MDI area, or nobody would see it; it is the only
  // window of its class, so where it comes in the frame's order changes no lookup.
  if (onTop || key == "_aol_modal") {
    SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  } else if (info.kind == Kind::MdiChild) {
    SetWindowPos(window, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  if (parentWindow) layout(parentWindow);
  return FromHwnd(window);
}

void Win32Surface::destroy(Wnd handle) {
  const HWND window = ToHwnd(handle);
  if (!IsWindow(window)) return;
  if (mdiClient_ && GetParent(window) == mdiClient_) {
    SendMessageA(mdiClient_, WM_MDIDESTROY, reinterpret_cast<WPARAM>(window), 0);
  } else {
    DestroyWindow(window);
  }
}

bool Win32Surface::exists(Wnd window) {
  return IsWindow(ToHwnd(window)) != 0;
}

std::string Win32Surface::text(Wnd handle) {
  const HWND window = ToHwnd(handle);
  const int length = GetWindowTextLengthA(window);
  if (length <= 0) return {};
  std::string buffer(static_cast<std::size_t>(length) + 1, '\0');
  const int n = GetWindowTextA(window, buffer.data(), length + 1);
  buffer.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
  return buffer;
}

void Win32Surface::setText(Wnd handle, std::string_view text) {
  // The client changing its own window: straight to the default handling, not to the
  // model as a message from outside would go.
  const HWND window = ToHwnd(handle);
  auto it = windows_.find(window);
  if (it == windows_.end()) return;
  const std::string value(text);
  defaultHandling(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(value.c_str()), it->second);
  InvalidateRect(window, nullptr, TRUE);
}

void Win32Surface::setEnabled(Wnd window, bool enabled) {
  EnableWindow(ToHwnd(window), enabled ? TRUE : FALSE);
}

bool Win32Surface::enabled(Wnd window) {
  return IsWindowEnabled(ToHwnd(window)) != 0;
}

bool Win32Surface::visible(Wnd window) {
  return IsWindowVisible(ToHwnd(window)) != 0;
}

void Win32Surface::after(int ms, std::function<void()> action) {
  const UINT_PTR id = nextTimer_++;
  pending_[id] = std::move(action);
  SetTimer(timerWindow_, id, static_cast<UINT>(std::max(ms, 1)), nullptr);
}

void Win32Surface::changed() {
  if (frame_) RedrawWindow(frame_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

// ---- messages ----

LRESULT CALLBACK Win32Surface::TimerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_TIMER || !current) return DefWindowProcA(window, message, wParam, lParam);
  KillTimer(window, wParam);
  auto it = current->pending_.find(wParam);
  if (it == current->pending_.end()) return 0;
  std::function<void()> action = std::move(it->second);
  current->pending_.erase(it);
  action();
  return 0;
}

LRESULT CALLBACK Win32Surface::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!current) return DefWindowProcA(window, message, wParam, lParam);
  return current->handle(window, message, wParam, lParam);
}

LRESULT Win32Surface::defaultHandling(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                      const Info& info) {
  switch (info.kind) {
    case Kind::Frame:
      return DefFrameProcA(window, mdiClient_, message, wParam, lParam);
    case Kind::MdiChild:
      return DefMDIChildProcA(window, message, wParam, lParam);
    case Kind::Subclassed:
      return CallWindowProcA(info.original, window, message, wParam, lParam);
    case Kind::Plain:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT Win32Surface::handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto it = windows_.find(window);
  if (it == windows_.end()) {
    // Still being created (the entry is made once CreateWindowEx returns).
    if (creating_.className.empty()) return DefWindowProcA(window, message, wParam, lParam);
    it = windows_.emplace(window, creating_).first;
  }
  const Info info = it->second;

  if (message == WM_NCDESTROY) {
    const LRESULT result = defaultHandling(window, message, wParam, lParam, info);
    windows_.erase(window);
    if (window == frame_) frame_ = nullptr;
    if (window == mdiClient_) mdiClient_ = nullptr;
    if (model_) model_->onDestroyed(FromHwnd(window));
    return result;
  }

  if (info.kind == Kind::Frame && message == WM_COMMAND && lParam == 0 && LOWORD(wParam) < 0xFF00 &&
      onCommand) {
    onCommand(LOWORD(wParam));
    return 0;
  }

  if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED && info.className == "#32770" &&
      lParam) {
    // A person's click on the OK button of one of the client's boxes: the client takes
    // a button press as the space bar going down and up on it.
    const HWND button = reinterpret_cast<HWND>(lParam);
    PostMessageA(button, WM_KEYDOWN, VK_SPACE, 0);
    PostMessageA(button, WM_KEYUP, VK_SPACE, 0);
    return 0;
  }

  if (model_ && ReachesModel(message)) {
    const char* text = message == WM_SETTEXT && lParam ? reinterpret_cast<const char*>(lParam) : "";
    if (auto result = model_->onMessage(FromHwnd(window), message, wParam, lParam, text))
      return *result;
    if (!IsWindow(window)) return 0;
  }

  switch (message) {
    case WM_SETTEXT: {
      const LRESULT result = defaultHandling(window, message, wParam, lParam, info);
      if (info.kind == Kind::Plain) InvalidateRect(window, nullptr, TRUE);
      return result;
    }
    case WM_SIZE:
      layout(window);
      // The frame lays out its toolbar and MDI area itself; its default handling would
      // stretch the MDI area over the toolbar.
      if (info.kind == Kind::Frame) return 0;
      break;
    case WM_PAINT:
      if (info.kind == Kind::Plain || info.kind == Kind::MdiChild) {
        paint(window);
        return 0;
      }
      break;
    case WM_DESTROY:
      if (info.kind == Kind::Frame) PostQuitMessage(0);
      break;
    default:
      break;
  }
  return defaultHandling(window, message, wParam, lParam, info);
}

// ---- drawing ----

void Win32Surface::layout(HWND parent) {
  RECT r;
  GetClientRect(parent, &r);
  const int w = r.right, h = r.bottom;
  const std::string parentClass = ClassOf(parent);
  const std::vector<HWND> children = Children(parent);

  if (parentClass == "aol frame25") {
    for (HWND c : children) {
      const std::string k = ClassOf(c);
      if (k == "aol toolbar")
        Place(c, 0, 0, w, 44);
      else if (k == "mdiclient")
        Place(c, 0, 44, w, h - 44);
      else if (k == "_aol_modal")
        Place(c, (w - 340) / 2, (h - 160) / 2, 340, 160);
    }
    return;
  }
  if (parentClass == "aol toolbar" || parentClass == "_aol_combobox") {
    for (HWND c : children) Place(c, 2, 2, w - 4, h - 4);
    return;
  }
  if (parentClass == "_aol_toolbar") {
    int x = 4;
    for (HWND c : children) {
      const std::string k = ClassOf(c);
      const int width = k == "_aol_combobox" ? 240 : 84;
      const int height = k == "_aol_combobox" ? 26 : 32;
      Place(c, x, (h - height) / 2, width, height);
      x += width + 4;
    }
    return;
  }
  if (parentClass == "mdiclient") return;
  if (parentClass == "#32770") {
    for (HWND c : children) {
      if (ClassOf(c) == "button")
        Place(c, (w - 88) / 2, h - 40, 88, 28);
      else
        Place(c, 14, 12, w - 28, h - 60);
    }
    return;
  }

  if (IsRoom(parent)) {
    // Transcript on the left, the people list on the right, the input box and its
    // send button along the bottom.
    int rich = 0;
    for (HWND c : children) {
      const std::string k = ClassOf(c);
      if (k == "richcntl") {
        if (rich++ == 0)
          Place(c, 8, 8, w - 190, h - 62);
        else
          Place(c, 8, h - 46, w - 104, 38);
      } else if (k == "_aol_listbox") {
        Place(c, w - 174, 30, 166, h - 84);
      } else if (k == "_aol_static") {
        Place(c, w - 174, 8, 166, 20);
      } else if (k == "_aol_icon") {
        Place(c, w - 88, h - 46, 80, 38);
      }
    }
    return;
  }

  // Any other window of the client (instant message, mail, modal window): its fields
  // stacked from the top, its icons in rows along the bottom.
  std::vector<HWND> icons, fields;
  for (HWND c : children) {
    const std::string k = ClassOf(c);
    (k == "_aol_icon" || k == "button" ? icons : fields).push_back(c);
  }
  HDC dc = GetDC(parent);
  HGDIOBJ old = SelectObject(dc, font_);
  std::vector<std::vector<std::pair<HWND, int>>> rows(1);
  int rowWidth = 8;
  for (HWND icon : icons) {
    const std::string caption = text(FromHwnd(icon));
    SIZE size{};
    GetTextExtentPoint32A(dc, caption.c_str(), static_cast<int>(caption.size()), &size);
    const int width = std::max<int>(size.cx + 16, 56);
    if (rowWidth + width > w - 8 && !rows.back().empty()) {
      rows.emplace_back();
      rowWidth = 8;
    }
    rows.back().push_back({icon, width});
    rowWidth += width + 4;
  }
  SelectObject(dc, old);
  ReleaseDC(parent, dc);
  constexpr int kIconHeight = 26;
  const int iconRows = icons.empty() ? 0 : static_cast<int>(rows.size());
  int y = h - 8 - iconRows * (kIconHeight + 4);
  for (const auto& row : rows) {
    int x = 8;
    for (const auto& [icon, width] : row) {
      Place(icon, x, y, width, kIconHeight);
      x += width + 4;
    }
    y += kIconHeight + 4;
  }
  // The modal window shows its caption as a title along its top.
  y = parentClass == "_aol_modal" ? 32 : 8;
  const int bottom = h - 12 - iconRows * (kIconHeight + 4);
  for (std::size_t i = 0; i < fields.size(); ++i) {
    const std::string k = ClassOf(fields[i]);
    int height = k == "_aol_static" || k == "static" ? 18 : k == "_aol_listbox" ? 80 : 22;
    // The last box of a mail or message window takes the room that is left.
    if (k == "richcntl") height = i + 1 == fields.size() ? std::max(bottom - y, 40) : 72;
    Place(fields[i], 8, y, w - 16, height);
    y += height + 4;
  }
}

void Win32Surface::paint(HWND window) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  RECT r;
  GetClientRect(window, &r);
  const std::string k = ClassOf(window);
  SelectObject(dc, font_);
  SetBkMode(dc, TRANSPARENT);
  const std::string caption = text(FromHwnd(window));

  if (k == "richcntl") {
    const ChatRoom* room = model_ ? model_->room(FromHwnd(GetParent(window))) : nullptr;
    DrawEdge(dc, &r, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    if (room && room->transcriptBox == FromHwnd(window)) {
      PaintTranscript(dc, r, room->lines);
    } else {
      RECT inner = r;
      InflateRect(&inner, -4, -3);
      const std::wstring shown = win32::SystemCodePageToWide(caption);
      DrawTextW(dc, shown.c_str(), static_cast<int>(shown.size()), &inner,
                DT_LEFT | DT_WORDBREAK | DT_NOPREFIX | DT_EDITCONTROL);
    }
  } else if (k == "_aol_listbox") {
    DrawEdge(dc, &r, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    int y = r.top + 3;
    for (const char* name : {"loafixfan", "Host Zed", "idler99", "chatty cathy"}) {
      TextOutA(dc, r.left + 6, y, name, static_cast<int>(std::char_traits<char>::length(name)));
      y += 18;
    }
  } else if (k == "_aol_icon") {
    DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH);
    DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &r,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  } else if (k == "_aol_edit") {
    DrawEdge(dc, &r, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    RECT inner = r;
    InflateRect(&inner, -4, -2);
    const std::wstring shown = win32::SystemCodePageToWide(caption);
    DrawTextW(dc, shown.c_str(), static_cast<int>(shown.size()), &inner,
              DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  } else if (k == "_aol_modal") {
    DrawEdge(dc, &r, EDGE_RAISED, BF_RECT | BF_ADJUST);
    RECT title{r.left, r.top, r.right, r.top + 24};
    FillRect(dc, &title, GetSysColorBrush(COLOR_ACTIVECAPTION));
    SetTextColor(dc, GetSysColor(COLOR_CAPTIONTEXT));
    SelectObject(dc, boldFont_);
    title.left += 8;
    DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &title,
              DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  } else if (k != "aol child" && k != "aol frame25") {
    DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &r, DT_LEFT | DT_NOPREFIX);
  }
  EndPaint(window, &ps);
}

}  // namespace loafix::clientsim
