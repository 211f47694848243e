#include "tests/e2e/Person.h"

#include <algorithm>
#include <cstdio>

#include "core/Text.h"
#include "platform/win32/Win32Text.h"
#include "tests/wine/WineTest.h"

namespace loafix::e2e {
namespace {

using winetest::WaitUntil;

constexpr double kReactionSeconds = 0.25;

// The command menu as it appears on screen: every item by the program's name, "-"
// for a separator line.
struct MenuEntry {
  const char* name;
  std::vector<MenuEntry> children = {};
};

const MenuEntry kCommandMenu{"file",
                             {
                                 {"about"},
                                 {"advertise"},
                                 {"disclamer"},
                                 {"-"},
                                 {"aoloptions",
                                  {
                                      {"upchat"},
                                      {"unupchat"},
                                      {"-"},
                                      {"aol", {{"hideaol"}, {"showaol"}}},
                                      {"killwindows", {{"killmodal"}, {"killglyph"}, {"killwait"}}},
                                      {"ims", {{"imoff"}, {"imon"}}},
                                  }},
                                 {"-"},
                                 {"idleoptions",
                                  {
                                      {"idleon"},
                                      {"idleoff"},
                                      {"-"},
                                      {"bragstats"},
                                      {"-"},
                                      {"aimsn"},
                                      {"-"},
                                      {"setascii"},
                                      {"-"},
                                      {"reason"},
                                      {"linksite"},
                                      {"-"},
                                      {"enablescrolling"},
                                      {"scrollinginterval"},
                                      {"-"},
                                      {"autoidle"},
                                      {"autoback"},
                                  }},
                                 {"-"},
                                 {"mailme"},
                                 {"-"},
                                 {"minimize"},
                                 {"unload"},
                             }};

// The positions of the item among the choosable (non-separator) items of each menu on
// the way down to it; empty when the menu has no such item.
bool PathTo(const MenuEntry& menu, std::string_view name, std::vector<int>& path) {
  int index = 0;
  for (const MenuEntry& entry : menu.children) {
    if (std::string_view(entry.name) == "-") continue;
    path.push_back(index);
    if (entry.name == name || PathTo(entry, name, path)) return true;
    path.pop_back();
    ++index;
  }
  return false;
}

DWORD OwnerOf(HWND window) {
  DWORD id = 0;
  GetWindowThreadProcessId(window, &id);
  return id;
}

std::string ClassName(HWND window) {
  char buffer[256];
  const int n = GetClassNameA(window, buffer, sizeof buffer);
  return std::string(buffer, n > 0 ? static_cast<std::size_t>(n) : 0);
}

// A named CALLBACK, not a lambda: in 32-bit Windows a lambda converts only to a
// pointer of the C calling convention, and EnumWindows calls with stdcall.
BOOL CALLBACK CollectWindow(HWND w, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(w);
  return TRUE;
}

// A top-level window's caption, in its ANSI bytes.
// As UTF-8: the program's captions are Unicode, whatever the code page.
std::string Caption(HWND window) {
  wchar_t buffer[256];
  const int n = GetWindowTextW(window, buffer, 256);
  return win32::WideToUtf8(std::wstring_view(buffer, n > 0 ? static_cast<std::size_t>(n) : 0));
}

// Top-level windows in Z order (topmost first), shown or hidden.
std::vector<HWND> TopLevelWindows() {
  std::vector<HWND> all;
  EnumWindows(&CollectWindow, reinterpret_cast<LPARAM>(&all));
  return all;
}

std::vector<HWND> VisibleMenus(DWORD owner) {
  std::vector<HWND> menus;
  for (HWND w : TopLevelWindows())
    if (OwnerOf(w) == owner && IsWindowVisible(w) && ClassName(w) == "#32768") menus.push_back(w);
  return menus;
}

void PostKey(HWND window, UINT key) {
  PostMessageA(window, WM_KEYDOWN, key, 1);
  PostMessageA(window, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u));
}

}  // namespace

std::string ToString(const ScreenRect& r) {
  char text[80];
  std::snprintf(text, sizeof text, "(%d, %d) %d x %d", r.left, r.top, r.width, r.height);
  return text;
}

ScreenRect ClientOnScreen(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  return {origin.x, origin.y, client.right - client.left, client.bottom - client.top};
}

ScreenRect WindowOnScreen(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

ScreenRect Union(const ScreenRect& a, const ScreenRect& b) {
  if (a.width <= 0 || a.height <= 0) return b;
  if (b.width <= 0 || b.height <= 0) return a;
  const int left = std::min(a.left, b.left), top = std::min(a.top, b.top);
  const int right = std::max(a.left + a.width, b.left + b.width);
  const int bottom = std::max(a.top + a.height, b.top + b.height);
  return {left, top, right - left, bottom - top};
}

bool IsTopmost(HWND window) {
  return (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

bool HasFrame(HWND window) {
  RECT outer{};
  GetWindowRect(window, &outer);
  const ScreenRect inner = ClientOnScreen(window);
  const LONG style = GetWindowLongA(window, GWL_STYLE);
  return (style & (WS_CAPTION | WS_THICKFRAME | WS_BORDER | WS_DLGFRAME)) != 0 ||
         outer.left != inner.left || outer.top != inner.top ||
         outer.right - outer.left != inner.width || outer.bottom - outer.top != inner.height;
}

bool HasTaskbarButton(HWND window) {
  const LONG ex = GetWindowLongA(window, GWL_EXSTYLE);
  if (ex & WS_EX_APPWINDOW) return true;
  return (ex & WS_EX_TOOLWINDOW) == 0 && GetWindow(window, GW_OWNER) == nullptr;
}

std::vector<HWND> ShownWindowsOf(DWORD process) {
  std::vector<HWND> shown;
  for (HWND w : TopLevelWindows())
    if (OwnerOf(w) == process && IsWindowVisible(w)) shown.push_back(w);
  return shown;
}

std::string AnsiText(HWND window) {
  // WM_GETTEXT, unlike GetWindowTextA, reaches the text of another process's controls.
  char buffer[4096];
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutA(window, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer),
                           SMTO_ABORTIFHUNG, 5000, &length))
    return {};
  return std::string(buffer, length < sizeof buffer ? length : 0);
}

std::string Text(HWND window) {
  // As a person reads it: the window's characters, whatever the code page.
  wchar_t buffer[4096];
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(buffer),
                           SMTO_ABORTIFHUNG, 5000, &length))
    return {};
  return win32::WideToUtf8(std::wstring_view(buffer, length < 4096 ? length : 0));
}

std::vector<HWND> Children(HWND parent, std::string_view className) {
  std::vector<HWND> found;
  for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
    if (EqualsIgnoreAsciiCase(ClassName(c), className)) found.push_back(c);
  return found;
}

void EndLeftovers() {
  const std::vector<std::string> captions = {std::string(kSplash), std::string(kStrip)};
  std::vector<DWORD> owners;
  for (HWND w : TopLevelWindows()) {
    const DWORD owner = OwnerOf(w);
    if (owner == GetCurrentProcessId()) continue;
    const std::string text = Caption(w);
    bool ours = EqualsIgnoreAsciiCase(ClassName(w), "AOL Frame25");
    for (const std::string& c : captions) ours = ours || text == c;
    if (ours) owners.push_back(owner);
  }
  for (DWORD id : owners) {
    HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id);
    if (!process) continue;
    std::printf("  ending process %lu left over from an earlier run\n", id);
    TerminateProcess(process, 1);
    WaitForSingleObject(process, 5000);
    CloseHandle(process);
  }
}

HWND Person::window(std::string_view caption) const {
  const std::string wanted(caption);
  for (HWND w : TopLevelWindows()) {
    if (OwnerOf(w) == programId_ && Caption(w) == wanted) return w;
  }
  return nullptr;
}

HWND Person::waitShown(std::string_view caption, double seconds) const {
  HWND found = nullptr;
  WaitUntil(
      [&] {
        found = window(caption);
        return found && IsWindowVisible(found);
      },
      seconds);
  return found && IsWindowVisible(found) ? found : nullptr;
}

bool Person::waitHidden(std::string_view caption, double seconds) const {
  return WaitUntil(
      [&] {
        HWND w = window(caption);
        return !w || !IsWindowVisible(w);
      },
      seconds);
}

void Person::react() const {
  double since = lastAction_;
  if (lastChange) since = std::max(since, lastChange());
  const double readyAt = since + kReactionSeconds;
  WaitUntil([&] { return winetest::Now() >= readyAt; }, kReactionSeconds);
}

void Person::acted() const {
  lastAction_ = winetest::Now();
}

void Person::handled() const {
  HWND any = window(kStrip);
  if (!any) any = window(kSplash);
  DWORD_PTR ignored = 0;
  if (any) SendMessageTimeoutA(any, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored);
}

void Person::clickPixels(HWND target, int x, int y) const {
  react();
  // While a prompt or box is up the program's windows take no clicks; the person
  // waits for the window to come back to life, as one would.
  WaitUntil([&] { return IsWindowEnabled(target) != FALSE; }, 5);
  // The mouse goes to the deepest control under the point, as a real click would;
  // captions (static controls) let it through to their window.
  POINT point{x, y};
  for (;;) {
    HWND child = ChildWindowFromPointEx(target, point, CWP_SKIPINVISIBLE | CWP_SKIPDISABLED);
    if (!child || child == target || EqualsIgnoreAsciiCase(ClassName(child), "Static")) break;
    MapWindowPoints(target, child, &point, 1);
    target = child;
  }
  const LPARAM at = MAKELPARAM(point.x, point.y);
  PostMessageA(target, WM_MOUSEMOVE, 0, at);
  PostMessageA(target, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageA(target, WM_LBUTTONUP, 0, at);
  acted();
}

void Person::click(HWND window, const TwipsRect& area) const {
  clickPixels(window, (area.left + area.width / 2) / 15, (area.top + area.height / 2) / 15);
}

double Person::startAgain(double seconds) const {
  const double began = winetest::Now();
  winetest::Process again("loafix.exe", {});
  if (!again.started()) return -1;
  bool showed = false;
  const bool ended = WaitUntil(
      [&] {
        showed = showed || !ShownWindowsOf(again.id()).empty();
        return !again.running();
      },
      seconds);
  const double took = winetest::Now() - began;
  acted();
  std::printf("  the second start %s after %.3f s%s\n", ended ? "ended" : "still ran", took,
              showed ? ", having shown a window" : "");
  return ended && !showed && again.exitCode() == 0 ? took : -1;
}

void Person::restoreFromTaskbar(HWND window) const {
  react();
  DWORD_PTR ignored = 0;
  SendMessageTimeoutA(window, WM_SYSCOMMAND, 0xF120, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
  acted();
}

std::vector<HWND> Person::menus() const {
  return VisibleMenus(programId_);
}

int Person::openMenus() const {
  return static_cast<int>(VisibleMenus(programId_).size());
}

bool Person::pressKey(HWND menu, UINT key) const {
  const int before = openMenus();
  PostKey(menu, key);
  // A key that opens or closes a menu level is done once the screen shows it; a move
  // within a menu shows nothing another process can read, and is taken in order.
  if (key == VK_RIGHT) return WaitUntil([&] { return openMenus() == before + 1; }, 3);
  if (key == VK_ESCAPE) return WaitUntil([&] { return openMenus() == before - 1; }, 3);
  if (key == VK_RETURN) return WaitUntil([&] { return openMenus() == 0; }, 3);
  return true;
}

void Person::describeState(HWND strip) const {
  // What a failure report needs: does the program still answer, and what is on screen.
  DWORD_PTR ignored = 0;
  const bool answers =
      SendMessageTimeoutA(strip, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 3000, &ignored) != 0;
  GUITHREADINFO thread{};
  thread.cbSize = sizeof thread;
  GetGUIThreadInfo(GetWindowThreadProcessId(strip, nullptr), &thread);
  std::printf("    the program %s; active %p, focus %p, capture %p, menu mode %s\n",
              answers ? "answers" : "does not answer", static_cast<void*>(thread.hwndActive),
              static_cast<void*>(thread.hwndFocus), static_cast<void*>(thread.hwndCapture),
              thread.flags & GUI_INMENUMODE ? "on" : "off");
  for (HWND w : TopLevelWindows()) {
    if (OwnerOf(w) != programId_ || !IsWindowVisible(w)) continue;
    std::printf("    shown: %p %s \"%s\"%s\n", static_cast<void*>(w), ClassName(w).c_str(),
                Text(w).c_str(), IsWindowEnabled(w) ? "" : " (disabled)");
  }
}

void Person::dismissMenu() const {
  for (int guard = 0; guard < 8 && openMenus() > 0; ++guard) {
    const std::vector<HWND> menus = VisibleMenus(programId_);
    if (menus.empty()) break;
    pressKey(menus.front(), VK_ESCAPE);
  }
}

bool Person::openAndEscapeMenu(double seconds) const {
  HWND strip = window(kStrip);
  if (!strip) return false;
  click(strip, kMenuArea);
  if (!WaitUntil([&] { return openMenus() == 1; }, seconds)) return false;
  const std::vector<HWND> menus = VisibleMenus(programId_);
  if (menus.empty()) return false;
  PostKey(menus.front(), VK_ESCAPE);
  const bool closed = WaitUntil([&] { return openMenus() == 0; }, seconds);
  acted();
  return closed;
}

bool Person::openMenuAt(std::string_view item) const {
  std::vector<int> path;
  if (!PathTo(kCommandMenu, item, path)) {
    std::printf("  the command menu has no item %.*s\n", static_cast<int>(item.size()),
                item.data());
    return false;
  }
  dismissMenu();
  HWND strip = window(kStrip);
  if (!strip || !IsWindowVisible(strip)) {
    std::printf("  the strip is not on screen\n");
    return false;
  }
  click(strip, kMenuArea);
  if (!WaitUntil([&] { return openMenus() == 1; }, 5)) {
    std::printf("  no menu came up\n");
    describeState(strip);
    return false;
  }
  for (std::size_t level = 0; level < path.size(); ++level) {
    const std::vector<HWND> menus = VisibleMenus(programId_);
    if (menus.empty()) return false;
    // No item is selected when a menu first opens; a submenu opens on its first item.
    const int downs = level == 0 ? path[level] + 1 : path[level];
    for (int i = 0; i < downs; ++i) pressKey(menus.front(), VK_DOWN);
    if (level + 1 < path.size() && !pressKey(menus.front(), VK_RIGHT)) {
      std::printf("  a submenu did not open\n");
      describeState(strip);
      dismissMenu();
      return false;
    }
  }
  return true;
}

bool Person::choose(std::string_view item) const {
  if (!openMenuAt(item)) return false;
  const std::vector<HWND> menus = VisibleMenus(programId_);
  if (menus.empty()) return false;
  if (!pressKey(menus.front(), VK_RETURN)) {
    std::printf("  the menu stayed open after choosing %.*s\n", static_cast<int>(item.size()),
                item.data());
    dismissMenu();
    return false;
  }
  acted();
  return true;
}

HWND Person::dialog(std::string_view title) const {
  const std::string wanted(title);
  for (HWND w : TopLevelWindows()) {
    if (OwnerOf(w) == programId_ && IsWindowVisible(w) && ClassName(w) == "#32770" &&
        Caption(w) == wanted)
      return w;
  }
  return nullptr;
}

std::optional<Prompt> Person::waitForPrompt(std::string_view title, double seconds) const {
  HWND box = nullptr;
  if (!WaitUntil([&] { return (box = dialog(title)) && !Children(box, "Edit").empty(); }, seconds))
    return std::nullopt;
  Prompt prompt;
  prompt.window = box;
  for (HWND s : Children(box, "Static")) {
    const std::string text = Text(s);
    if (text.empty()) continue;
    if (!prompt.message.empty()) prompt.message += "\n";
    prompt.message += text;
  }
  prompt.ansiText = AnsiText(Children(box, "Edit").front());
  prompt.text = Text(Children(box, "Edit").front());
  return prompt;
}

bool Person::answer(const Prompt& prompt, const std::optional<std::string>& text) const {
  if (text) {
    // Typed, so characters rather than bytes of some code page.
    const std::wstring typed = win32::Utf8ToWide(*text);
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(Children(prompt.window, "Edit").front(), WM_SETTEXT, 0,
                        reinterpret_cast<LPARAM>(typed.c_str()), SMTO_ABORTIFHUNG, 5000, &ignored);
  }
  HWND button = GetDlgItem(prompt.window, text ? IDOK : IDCANCEL);
  if (!button) return false;
  DWORD_PTR ignored = 0;
  SendMessageTimeoutA(button, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
  const bool gone = WaitUntil([&] { return !IsWindow(prompt.window); }, 5);
  // The command goes on with the answer (writes it, posts a line) and only then takes
  // the next message.
  handled();
  acted();
  return gone;
}

std::optional<std::string> Person::waitForMessageBox(std::string_view title, double seconds) const {
  HWND box = nullptr;
  if (!WaitUntil([&] { return (box = dialog(title)) != nullptr; }, seconds)) return std::nullopt;
  HWND text = GetDlgItem(box, 0xFFFF);
  return text ? Text(text) : std::string();
}

bool Person::dismissMessageBox(std::string_view title) const {
  HWND box = dialog(title);
  if (!box) return false;
  HWND ok = GetDlgItem(box, IDOK);
  if (!ok) return false;
  DWORD_PTR ignored = 0;
  SendMessageTimeoutA(ok, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
  const bool gone = WaitUntil([&] { return !IsWindow(box) || !IsWindowVisible(box); }, 5);
  acted();
  return gone;
}

HWND Person::start() const {
  HWND splash = waitShown(kSplash, 30);
  if (!splash) return nullptr;
  const ScreenRect r = ClientOnScreen(splash);
  clickPixels(splash, r.width / 2, r.height / 2);
  return waitShown(kStrip, 5);
}

}  // namespace loafix::e2e
