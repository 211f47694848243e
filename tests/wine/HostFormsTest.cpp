// The Win32 host's windows, menu and boxes, driven as another program would drive
// them: posted clicks (which carry no cursor position), keys posted to the pop-up
// menu, the prompt's and the message box's own buttons. Modal parts are driven from a
// second thread while this one is inside the menu or box.
#include <algorithm>
#include <atomic>
#include <cstdio>

#include "client/clientkit.h"
#include "platform/win32/Win32Host.h"
#include "platform/win32/Win32Modal.h"
#include "platform/win32/Win32WindowSystem.h"
#include "tests/wine/WineTest.h"

// After the Win32 headers it needs.
#include <commctrl.h>

namespace loafix {
namespace {

using namespace winetest;
using win32::FromHwnd;
using win32::ToHwnd;

HINSTANCE Self() {
  return GetModuleHandleA(nullptr);
}

// Runs the host's events until `done` holds or `seconds` pass.
bool RunUntil(win32::Win32Host& host, const std::function<bool()>& done, double seconds) {
  const double deadline = host.now() + seconds;
  while (!done()) {
    if (host.now() >= deadline) return false;
    host.processEvents();
    if (done()) break;
    host.waitForEvents(std::min(deadline, host.now() + 0.01));
  }
  return true;
}

void PostClick(HWND window, int x, int y, UINT down = WM_LBUTTONDOWN, UINT up = WM_LBUTTONUP) {
  PostMessageA(window, down, down == WM_LBUTTONDOWN ? MK_LBUTTON : 0, MAKELPARAM(x, y));
  if (up) PostMessageA(window, up, 0, MAKELPARAM(x, y));
}

void PostKey(HWND window, UINT key) {
  PostMessageA(window, WM_KEYDOWN, key, 1);
  PostMessageA(window, WM_KEYUP, key, 0xC0000001);
}

// A visible top-level window of this process with that class (and title), for the
// driving thread; nullptr after `seconds`.
HWND WaitForWindow(const char* className, const char* title, double seconds) {
  HWND found = nullptr;
  const double deadline = Now() + seconds;
  while (!found && Now() < deadline) {
    for (HWND w = FindWindowExA(nullptr, nullptr, className, title); w;
         w = FindWindowExA(nullptr, w, className, title)) {
      DWORD pid = 0;
      GetWindowThreadProcessId(w, &pid);
      if (pid == GetCurrentProcessId() && IsWindowVisible(w)) found = w;
    }
    if (!found) Sleep(5);
  }
  return found;
}

bool AnyMenuOpen() {
  return WaitForWindow("#32768", nullptr, 0) != nullptr;
}

ControlSpec Area(std::string name, int left, int top, int width, int height,
                 std::string text = {}) {
  return ControlSpec{.name = std::move(name), .left = Px(left), .top = Px(top),
                     .width = Px(width), .height = Px(height), .text = std::move(text)};
}

struct Counts {
  int area = 0, under = 0, background = 0, backgroundDown = 0, dragDown = 0, close = 0;
};

// 200 x 100 pixels at (40, 30): two overlapping click areas, a label that takes
// presses, a caption, two text boxes.
FormSpec TestForm(Counts& n) {
  FormSpec layout{.name = "FormT", .caption = "host test ¬", .left = Px(40), .top = Px(30),
                  .clientWidth = Px(200), .clientHeight = Px(100), .backColor = 0x336699};
  ControlSpec area = Area("Area", 10, 10, 40, 20);  // on top of Under where they overlap
  area.onClick = [&n] { ++n.area; };
  ControlSpec under = Area("Under", 30, 10, 40, 20);
  under.onClick = [&n] { ++n.under; };
  ControlSpec drag = Area("Drag", 10, 40, 40, 20);
  drag.onMouseDown = [&n] { ++n.dragDown; };
  ControlSpec caption = Area("Count", 150, 10, 40, 15, "0");
  caption.color = 0xFFFFFF;
  ControlSpec one = Area("Text1", 60, 40, 120, 18, "first");
  one.kind = ControlKind::TextBox;
  ControlSpec two = Area("Text2", 60, 62, 120, 34, "second");
  two.kind = ControlKind::MultiLineTextBox;
  layout.controls = {area, under, drag, caption, one, two};
  layout.onClick = [&n] { ++n.background; };
  layout.onMouseDown = [&n] { ++n.backgroundDown; };
  layout.onCloseRequest = [&n] { ++n.close; };
  return layout;
}

void FormsLookAndClickAsSpecified() {
  win32::Win32WindowSystem ws;
  win32::Win32Host host(Self(), ws);
  Counts n;
  const Hwnd form = host.createForm(TestForm(n));
  const HWND w = ToHwnd(form);
  WT_REQUIRE(IsWindow(w));
  WT_CHECK(!IsWindowVisible(ToHwnd(form)));  // created hidden
  StayOnTop(ws, form);
  host.showForm(form);
  WT_CHECK(IsWindowVisible(ToHwnd(form)));

  // Borderless, topmost, no taskbar button, the client area where it was described.
  const LONG style = GetWindowLongA(w, GWL_STYLE), exStyle = GetWindowLongA(w, GWL_EXSTYLE);
  WT_CHECK((style & WS_POPUP) && !(style & (WS_CAPTION | WS_BORDER | WS_THICKFRAME)));
  WT_CHECK(exStyle & WS_EX_TOPMOST);
  WT_CHECK(exStyle & WS_EX_TOOLWINDOW);
  RECT client;
  GetClientRect(w, &client);
  POINT origin{0, 0};
  ClientToScreen(w, &origin);
  WT_CHECK_EQ(client.right, 200);
  WT_CHECK_EQ(client.bottom, 100);
  WT_CHECK_EQ(origin.x, 40);
  WT_CHECK_EQ(origin.y, 30);
  WT_CHECK_EQ(ws.GetWindowTextA(form, 64), std::string("host test ¬"));

  // Clicks hit-tested from the message's own coordinates; where two areas overlap the
  // earlier one takes it; the background has its own handler.
  PostClick(w, 20, 15);  // Area only
  PostClick(w, 40, 15);  // Area over Under
  PostClick(w, 65, 15);  // Under only
  PostClick(w, 120, 5);  // background
  RunUntil(
      host, [&] { return n.background == 1; }, 5);
  WT_CHECK_EQ(n.area, 2);
  WT_CHECK_EQ(n.under, 1);
  WT_CHECK_EQ(n.background, 1);
  WT_CHECK_EQ(n.backgroundDown, 1);  // the background's press; the areas' presses are theirs

  // Down on one area and up on another is no click.
  PostClick(w, 20, 15, WM_LBUTTONDOWN, 0);
  PostMessageA(w, WM_LBUTTONUP, 0, MAKELPARAM(65, 15));
  // Any button presses; only the left one clicks.
  PostClick(w, 20, 45, WM_RBUTTONDOWN, WM_RBUTTONUP);
  PostClick(w, 20, 45);
  RunUntil(
      host, [&] { return n.dragDown == 2; }, 5);
  WT_CHECK_EQ(n.area, 2);
  WT_CHECK_EQ(n.under, 1);
  WT_CHECK_EQ(n.dragDown, 2);

  // Captions and text boxes.
  WT_CHECK_EQ(host.controlText(form, "Count"), std::string("0"));
  host.setControlText(form, "Count", "17");
  WT_CHECK_EQ(host.controlText(form, "Count"), std::string("17"));
  const Hwnd edit1 = ws.FindWindowExA(form, 0, "Edit");
  const Hwnd edit2 = ws.FindWindowExA(form, edit1, "Edit");
  WT_REQUIRE(edit1 != 0 && edit2 != 0);  // real edit controls, in tab order
  WT_CHECK(GetWindowLongA(ToHwnd(edit2), GWL_STYLE) & ES_MULTILINE);
  WT_CHECK(!(GetWindowLongA(ToHwnd(edit1), GWL_STYLE) & ES_MULTILINE));
  WT_CHECK_EQ(host.controlText(form, "Text1"), std::string("first"));
  ws.SendMessageA(edit1, WM_SETTEXT, 0, "typed ¬ here");
  WT_CHECK_EQ(host.controlText(form, "Text1"), std::string("typed ¬ here"));
  host.setControlText(form, "Text2", "a\r\nb");
  WT_CHECK_EQ(ws.GetWindowTextA(edit2, 16), std::string("a\r\nb"));

  // The first text box has the keyboard; Tab moves on to the next.
  RunUntil(
      host, [&] { return GetFocus() == ToHwnd(edit1); }, 2);
  WT_CHECK(GetFocus() == ToHwnd(edit1));
  PostKey(ToHwnd(edit1), VK_TAB);
  RunUntil(
      host, [&] { return GetFocus() == ToHwnd(edit2); }, 2);
  WT_CHECK(GetFocus() == ToHwnd(edit2));

  // Closed from outside: the handler runs, the window stays. Alt+F4 comes the same way.
  PostMessageA(w, WM_CLOSE, 0, 0);
  RunUntil(
      host, [&] { return n.close == 1; }, 5);
  WT_CHECK_EQ(n.close, 1);
  WT_CHECK(IsWindow(w) && IsWindowVisible(ToHwnd(form)));
  PostMessageA(w, WM_SYSKEYDOWN, VK_F4, 1 | (1 << 29));  // bit 29: Alt is down
  RunUntil(
      host, [&] { return n.close == 2; }, 5);
  WT_CHECK_EQ(n.close, 2);
  WT_CHECK(IsWindow(w) && IsWindowVisible(ToHwnd(form)));

  // Without a handler of its own, closing hides it.
  const Hwnd other =
      host.createForm({.name = "FormP", .clientWidth = Px(50), .clientHeight = Px(50)});
  host.showForm(other);
  PostMessageA(ToHwnd(other), WM_CLOSE, 0, 0);
  RunUntil(
      host, [&] { return !IsWindowVisible(ToHwnd(other)); }, 5);
  WT_CHECK(!IsWindowVisible(ToHwnd(other)) && IsWindow(ToHwnd(other)));

  // The tooltip covers the whole form and asks for its text each time it is wanted.
  int asked = 0;
  host.setTooltip(form, [&] { return ++asked == 1 ? std::string("tip ¬") : std::string("ā 2"); });
  HWND tip = nullptr;
  while ((tip = FindWindowExW(nullptr, tip, L"tooltips_class32", nullptr)) &&
         GetWindow(tip, GW_OWNER) != w) {
  }
  WT_REQUIRE(tip != nullptr);
  const auto tipText = [&] {
    wchar_t buffer[80] = {};
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = w;
    tool.uId = reinterpret_cast<UINT_PTR>(w);
    tool.lpszText = buffer;
    SendMessageW(tip, TTM_GETTEXTW, 80, reinterpret_cast<LPARAM>(&tool));
    return std::wstring(buffer);
  };
  WT_CHECK(tipText() == L"tip \u00AC");
  WT_CHECK(tipText() == L"\u0101 2");
  WT_CHECK_EQ(asked, 2);

  host.hideForm(form);
  WT_CHECK(!IsWindowVisible(ToHwnd(form)));
}

// A press that drags the window (the move loop of the window system) returns once the
// button is up, also when the press was posted and no real button is down.
void PressThatDragsReturns() {
  win32::Win32WindowSystem ws;
  win32::Win32Host host(Self(), ws);
  Hwnd form = 0;
  int dragsDone = 0;
  form = host.createForm({.name = "FormD", .left = Px(300), .top = Px(300),
                          .clientWidth = Px(80), .clientHeight = Px(30),
                          .onMouseDown = [&] {
                            FormDrag(ws, form);
                            ++dragsDone;
                          }});
  host.showForm(form);
  PostClick(ToHwnd(form), 10, 10);
  RunUntil(
      host, [&] { return dragsDone == 1; }, 5);
  WT_CHECK_EQ(dragsDone, 1);
  RECT r;
  GetWindowRect(ToHwnd(form), &r);
  WT_CHECK_EQ(r.left, 300);  // nothing moved the mouse: the window stays
}

MenuItem Item(std::string name, std::string caption, std::function<void()> onClick = nullptr,
              bool checked = false) {
  return MenuItem{.name = std::move(name), .caption = std::move(caption), .checked = checked,
                  .onClick = std::move(onClick)};
}

void MenuShowsTheTreeAndRunsTheChoiceAfterClosing() {
  win32::Win32WindowSystem windows;
  win32::Win32Host host(Self(), windows);
  Counts n;
  const Hwnd form = host.createForm(TestForm(n));
  host.showForm(form);

  std::string chosen;
  bool menuWasClosed = false;
  auto choose = [&](std::string name) {
    return [&, name] {
      chosen = name;
      menuWasClosed = !AnyMenuOpen();
    };
  };
  MenuItem root = Item("file", "file");
  root.children = {Item("one", "&one", choose("one")), Item("line1", "-")};
  MenuItem more = Item("more", "&more");
  more.children = {Item("two", "&two", choose("two"), true),
                   Item("three", "th&ree", choose("three"))};
  root.children.push_back(more);

  // No tick runs inside the menu's own loop; the one held back starts once it closed.
  int ticks = 0;
  const TimerId timer = host.createTimer([&] { ++ticks; });
  host.setTimer(timer, true, 20);

  struct Seen {
    std::atomic<bool> opened{false};
    RECT at{};
    int count = 0;
    std::wstring captions;
    bool twoChecked = false, oneChecked = true;
  } seen;
  Thread driver([&] {
    HWND menu = WaitForWindow("#32768", nullptr, 5);
    if (!menu) return;
    seen.opened = true;
    GetWindowRect(menu, &seen.at);
    HMENU items = reinterpret_cast<HMENU>(SendMessageA(menu, MN_GETHMENU, 0, 0));
    seen.count = GetMenuItemCount(items);
    for (int i = 0; i < seen.count; ++i) {
      wchar_t text[64] = {};
      GetMenuStringW(items, i, text, 64, MF_BYPOSITION);
      seen.captions += std::wstring(text) + L"|";
    }
    seen.oneChecked = GetMenuState(items, 0, MF_BYPOSITION) & MF_CHECKED;
    HMENU sub = GetSubMenu(items, 2);
    seen.twoChecked = sub && (GetMenuState(sub, 0, MF_BYPOSITION) & MF_CHECKED);
    Sleep(150);  // some ticks while the menu is up
    // Down to "more" (the separator is skipped), into it, down to "three", choose.
    for (UINT key : {VK_DOWN, VK_DOWN, VK_RIGHT}) PostKey(menu, key);
    HWND submenu = nullptr;
    const double deadline = Now() + 5;
    while (!submenu && Now() < deadline) {
      for (HWND w = FindWindowExA(nullptr, nullptr, "#32768", nullptr); w;
           w = FindWindowExA(nullptr, w, "#32768", nullptr))
        if (w != menu && IsWindowVisible(w)) submenu = w;
      Sleep(5);
    }
    if (!submenu) return;
    PostKey(submenu, VK_DOWN);
    PostKey(submenu, VK_RETURN);
  });
  const int ticksBefore = ticks;
  host.popupMenu(form, root, Px(1), 300);
  driver.join();

  WT_CHECK(seen.opened);
  POINT expected{1, 20};
  ClientToScreen(ToHwnd(form), &expected);
  WT_CHECK_EQ(seen.at.left, expected.x);
  WT_CHECK_EQ(seen.at.top, expected.y);
  WT_CHECK_EQ(seen.count, 3);
  WT_CHECK(seen.captions == L"&one||&more|");
  WT_CHECK(!seen.oneChecked);
  WT_CHECK(seen.twoChecked);
  WT_CHECK_EQ(chosen, std::string("three"));
  WT_CHECK(menuWasClosed);
  WT_CHECK_EQ(ticks, ticksBefore);
  for (const double until = host.now() + 1; ticks == ticksBefore && host.now() < until;) {
    host.processEvents();
    host.waitForEvents(host.now() + 0.05);
  }
  WT_CHECK(ticks > ticksBefore);

  // Escape: nothing runs.
  chosen.clear();
  Thread dismisser([] {
    if (HWND menu = WaitForWindow("#32768", nullptr, 5)) PostKey(menu, VK_ESCAPE);
  });
  host.popupMenu(form, root, 0, 0);
  dismisser.join();
  WT_CHECK_EQ(chosen, std::string());
  host.setTimer(timer, false, 0);
}

void PromptAndMessageBoxAnswerThroughTheirButtons() {
  win32::Win32WindowSystem windows;
  win32::Win32Host host(Self(), windows);
  Counts n;
  const Hwnd form = host.createForm(TestForm(n));
  host.showForm(form);

  struct Seen {
    std::string message, defaultText;
    bool formDisabled = false;
  } seen;
  // Types over the default and presses OK (answer) or Cancel (nullopt).
  auto answer = [&](const char* title, std::optional<std::string> text) {
    return Thread([&seen, title, text, form] {
      HWND box = WaitForWindow("#32770", title, 5);
      if (!box) return;
      char buffer[256] = {};
      GetDlgItemTextA(box, win32::kInputBoxMessageId, buffer, sizeof buffer);
      seen.message = buffer;
      GetDlgItemTextA(box, win32::kInputBoxEditId, buffer, sizeof buffer);
      seen.defaultText = buffer;
      seen.formDisabled = !IsWindowEnabled(ToHwnd(form));
      if (text) {
        SendDlgItemMessageA(box, win32::kInputBoxEditId, WM_SETTEXT, 0,
                            reinterpret_cast<LPARAM>(text->c_str()));
        SendDlgItemMessageA(box, IDOK, BM_CLICK, 0, 0);
      } else {
        SendDlgItemMessageA(box, IDCANCEL, BM_CLICK, 0, 0);
      }
    });
  };

  Thread driver = answer("glyph", std::string("\xA4x"));  // "¤x" as ANSI bytes
  std::optional<std::string> got = host.inputBox("please enter the new glyph", "glyph", "¬");
  driver.join();
  WT_CHECK(got.has_value() && *got == "¤x");
  WT_CHECK_EQ(seen.message, std::string("please enter the new glyph"));
  WT_CHECK_EQ(seen.defaultText, std::string("\xAC"));
  WT_CHECK(seen.formDisabled);              // the box is the only input meanwhile
  WT_CHECK(IsWindowEnabled(ToHwnd(form)));  // and the form takes input again after

  driver = answer("reason", std::string());
  got = host.inputBox("why?", "reason", "lunch");
  driver.join();
  WT_CHECK(got.has_value() && got->empty());  // OK on an empty box is an empty answer

  driver = answer("reason", std::nullopt);
  got = host.inputBox("why?", "reason", "lunch");
  driver.join();
  WT_CHECK(!got.has_value());  // Cancel

  // A tick that pauses 3 s while the prompt is up runs inside the prompt's own loop;
  // the prompt still takes its keys meanwhile: Escape puts it away at once (its answer
  // is the caller's once the tick has returned).
  bool ticked = false;
  const TimerId pausing = host.createTimer([&] {
    if (ticked) return;
    ticked = true;
    Pause(host, 3);
  });
  host.setTimer(pausing, true, 50);
  double escaped = 0, hidden = 0;
  driver = Thread([&] {
    HWND box = WaitForWindow("#32770", "reason", 5);
    if (!box) return;
    Sleep(500);  // the tick's pause is running under the prompt by now
    escaped = Now();
    HWND edit = GetDlgItem(box, win32::kInputBoxEditId);
    PostMessageA(edit, WM_KEYDOWN, VK_ESCAPE, 0);
    PostMessageA(edit, WM_KEYUP, VK_ESCAPE, 0);
    if (WaitUntil([&] { return !IsWindowVisible(box); }, 5)) hidden = Now();
  });
  got = host.inputBox("why?", "reason", "lunch");
  driver.join();
  host.setTimer(pausing, false, 0);
  WT_CHECK(ticked);
  WT_CHECK(!got.has_value());
  WT_CHECK(hidden > 0 && hidden - escaped < 1.0);

  // The message box: its text as ANSI bytes in the static 65535, OK is button 1.
  std::string boxText;
  Thread dismiss([&boxText] {
    HWND box = WaitForWindow("#32770", "about", 5);
    if (!box) return;
    char buffer[256] = {};
    GetDlgItemTextA(box, 65535, buffer, sizeof buffer);
    boxText = buffer;
    SendDlgItemMessageA(box, IDOK, BM_CLICK, 0, 0);
  });
  host.messageBox("lòàfíx¹ by zed²", "about");
  dismiss.join();
  WT_CHECK_EQ(boxText, std::string("l\xF2\xE0"
                                   "f\xEDx\xB9 by zed\xB2"));
}

// Run in a process of its own: a click whose handler pauses, and a tick inside that
// pause that ends the program. Nothing after the end may run.
void EndsFromInsideNestedPause() {
  win32::Win32WindowSystem windows;
  win32::Win32Host host(Self(), windows);
  const Hwnd form = host.createForm({.name = "FormE", .clientWidth = Px(50),
                                     .clientHeight = Px(50), .onClick = [&host] {
                                       Pause(host, 3);
                                       std::printf("the click went on after the end\n");
                                     }});
  host.showForm(form);
  const TimerId timer = host.createTimer([&host] { host.endProgram(); });
  host.setTimer(timer, true, 100);
  PostClick(ToHwnd(form), 10, 10);
  RunUntil(
      host, [] { return false; }, 5);
  std::printf("still running after the end\n");
  std::fflush(stdout);
  ExitProcess(3);
}

void EndProgramEndsTheProcessAtOnce() {
  char self[MAX_PATH];
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string name(self);
  name = name.substr(name.find_last_of("\\/") + 1);
  Process child(name, {"end-child"});
  WT_REQUIRE(child.started());
  WT_CHECK(child.waitForExit(10));
  WT_CHECK_EQ(child.exitCode(), DWORD{0});
}

}  // namespace
}  // namespace loafix

int main(int argc, char** argv) {
  if (argc == 2 && std::string(argv[1]) == "end-child") loafix::EndsFromInsideNestedPause();
  return loafix::winetest::RunCases(
      argc, argv,
      {{"forms", &loafix::FormsLookAndClickAsSpecified},
       {"drag", &loafix::PressThatDragsReturns},
       {"menu", &loafix::MenuShowsTheTreeAndRunsTheChoiceAfterClosing},
       {"prompt-and-box", &loafix::PromptAndMessageBoxAnswerThroughTheirButtons},
       {"end-program", &loafix::EndProgramEndsTheProcessAtOnce}});
}
