#include "platform/win32/Win32Host.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>

#include "core/ModalInput.h"
#include "platform/win32/Win32Modal.h"
#include "platform/win32/Win32Text.h"
#include "platform/win32/Win32WindowSystem.h"

namespace loafix::win32 {
namespace {

constexpr wchar_t kTimerWindowClass[] = L"LoafixTimers";
// The one window-system timer of the timer window.
constexpr UINT_PTR kWakeTimer = 1;

using PreciseTimeFunction = VOID(WINAPI*)(LPFILETIME);

// GetSystemTimePreciseAsFileTime where the system has it (Windows 8 and later, Wine),
// else the coarse clock; looked up once.
PreciseTimeFunction SystemTimeFunction() {
  static const PreciseTimeFunction function =
      SystemFunction<PreciseTimeFunction>(L"kernel32.dll", "GetSystemTimePreciseAsFileTime");
  return function ? function : &GetSystemTimeAsFileTime;
}

}  // namespace

Win32Host::Win32Host(HINSTANCE instance, WindowSystem& ws) : instance_(instance), core_(ws) {
  // With the common-controls manifest, the standard controls come from comctl32.
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);

  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  counterPeriod_ = 1.0 / static_cast<double>(frequency.QuadPart);
  watchStart_ = now();

  // It owns the timers.
  timerWindow_ = MessageWindow(instance_, kTimerWindowClass, &Win32Host::TimerWindowProc, this);
  core_.onScheduleChanged = [this] { aim(); };
}

Win32Host::~Win32Host() {
  forms_.clear();
  if (timerWindow_) DestroyWindow(timerWindow_);
}

// ---- time and waiting ----

double Win32Host::timeOfDay() {
  FILETIME utc, local;
  SystemTimeFunction()(&utc);
  FileTimeToLocalFileTime(&utc, &local);
  // File times count 100 ns steps from a midnight (1 January 1601), so the remainder
  // of a day is the local time of day.
  const ULONGLONG ticks =
      (static_cast<ULONGLONG>(local.dwHighDateTime) << 32) | local.dwLowDateTime;
  constexpr ULONGLONG kTicksPerDay = 86400ULL * 10'000'000ULL;
  return static_cast<double>(ticks % kTicksPerDay) / 1e7;
}

double Win32Host::now() {
  LARGE_INTEGER counter;
  QueryPerformanceCounter(&counter);
  // Rounded to a double here, not in the caller: the 32-bit build computes on the x87
  // unit, whose 80-bit result the caller would otherwise compare unrounded against an
  // earlier reading it has stored (rounded), so that two readings of one counter value
  // could compare as the clock going back.
  volatile double seconds = static_cast<double>(counter.QuadPart) * counterPeriod_;
  return seconds;
}

void Win32Host::dispatch(MSG& msg) {
  // Keys for a form with text boxes, or for a prompt whose own loop is not the one
  // running (a pause inside a tick inside the prompt), go through the dialog manager:
  // Tab moves between the boxes, Enter and Escape press OK and Cancel.
  if (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST) {
    const HWND root = GetAncestor(msg.hwnd, GA_ROOT);
    wchar_t rootClass[8] = {};
    if (root) GetClassNameW(root, rootClass, 8);
    if ((SkinForm::Of(root) || lstrcmpW(rootClass, L"#32770") == 0) && IsDialogMessageW(root, &msg))
      return;
  }
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
}

void Win32Host::processEvents() {
  // Returns once the queue is empty, or once handlers have run for a while: a handler
  // that keeps the queue busy (a tick longer than its timer's interval, whose late
  // WM_TIMER is due again at once) must not keep this call from returning; the caller
  // comes back for the rest.
  constexpr double kBudget = 0.02;
  const double entered = now();
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      // Leave the quit request to the outermost loop.
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    dispatch(msg);
    if (now() - entered > kBudget) return;
  }
}

void Win32Host::waitForEvents(double deadline) {
  const double remaining = deadline - now();
  if (remaining <= 0) return;
  const double ms = std::ceil(remaining * 1000.0);
  const DWORD timeout =
      ms >= static_cast<double>(INFINITE - 1) ? INFINITE - 1 : static_cast<DWORD>(ms);
  // MWMO_INPUTAVAILABLE: also wake for input that an earlier peek has already seen.
  MsgWaitForMultipleObjectsEx(0, nullptr, timeout, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
}

int Win32Host::run() {
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) dispatch(msg);
  return static_cast<int>(msg.wParam);
}

// ---- timers ----

Micros Win32Host::nowUs() { return static_cast<Micros>(now() * 1e6); }

void Win32Host::aim() {
  const std::optional<Micros> due = core_.nextDue();
  if (!due) {
    KillTimer(timerWindow_, kWakeTimer);
    return;
  }
  const Micros wait = *due - nowUs();
  // Rounded up, so the wake-up never comes before the tick is due; the system raises
  // anything below its minimum (10 ms) to that minimum.
  const Micros ms = wait <= 0 ? 0 : (wait + 999) / 1000;
  SetTimer(timerWindow_, kWakeTimer, static_cast<UINT>(std::min<Micros>(ms, 0x7FFFFFFF)), nullptr);
}

TimerId Win32Host::createTimer(Handler onTick) { return core_.createTimer(std::move(onTick)); }

void Win32Host::setTimer(TimerId id, bool enabled, int intervalMs) {
  core_.setTimer(id, enabled, intervalMs, nowUs());
}

LRESULT CALLBACK Win32Host::TimerWindowProc(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam) {
  if (message == WM_TIMER && wParam == kWakeTimer) {
    if (auto* host = reinterpret_cast<Win32Host*>(GetWindowLongPtrW(window, GWLP_USERDATA))) {
      // Whatever is due runs; a wake-up that finds nothing due (the menu opened, a
      // tick started meanwhile) only re-aims.
      if (host->core_.runDue(host->nowUs()) == 0) host->aim();
    }
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

// ---- the program's windows ----

SkinForm* Win32Host::form(Hwnd handle) const {
  for (const auto& f : forms_)
    if (FromHwnd(f->window()) == handle) return f.get();
  return nullptr;
}

Hwnd Win32Host::createForm(const FormSpec& layout) {
  forms_.push_back(std::make_unique<SkinForm>(instance_, layout, core_));
  return FromHwnd(forms_.back()->window());
}

void Win32Host::showForm(Hwnd handle) {
  if (SkinForm* f = form(handle)) f->show();
}

void Win32Host::hideForm(Hwnd handle) {
  if (SkinForm* f = form(handle)) ShowWindow(f->window(), SW_HIDE);
}

void Win32Host::minimizeForm(Hwnd handle) {
  if (SkinForm* f = form(handle)) f->minimize();
}

void Win32Host::restoreForm(Hwnd handle) {
  if (SkinForm* f = form(handle)) f->restore();
}

std::string Win32Host::controlText(Hwnd handle, std::string_view control) {
  std::string text;
  if (SkinForm* f = form(handle)) f->text(control, text);
  return text;
}

void Win32Host::setControlText(Hwnd handle, std::string_view control, std::string_view text) {
  if (SkinForm* f = form(handle)) f->setText(control, text);
}

void Win32Host::setTooltip(Hwnd handle, std::function<std::string()> text) {
  if (SkinForm* f = form(handle)) f->setTooltip(std::move(text));
}

double Win32Host::lastInput() {
  LASTINPUTINFO info{};
  info.cbSize = sizeof info;
  const bool known = GetLastInputInfo(&info) != 0;
  const DWORD tick = GetTickCount();
  input_ =
      NextInputReading(input_, known ? std::optional<std::uint32_t>(info.dwTime) : std::nullopt,
                       tick, now(), watchStart_);
  return input_.at;
}

// ---- menus and modal boxes ----

template <typename Box>
auto Win32Host::modal(Box box) {
  std::vector<Hwnd> forms;
  for (const auto& f : forms_) forms.push_back(FromHwnd(f->window()));
  const ModalInput only(forms, {[this](Hwnd w) {
                                  const SkinForm* f = form(w);
                                  return f && IsWindowEnabled(f->window());
                                },
                                [this](Hwnd w, bool on) {
                                  if (const SkinForm* f = form(w)) EnableWindow(f->window(), on);
                                }});
  return box();
}

void Win32Host::popupMenu(Hwnd handle, MenuItem& menu, int xTwips, int yTwips) {
  SkinForm* f = form(handle);
  if (!f) return;
  POINT at{TwipsToPx(xTwips), TwipsToPx(yTwips)};
  ClientToScreen(f->window(), &at);
  // No tick runs inside the menu's own loop: a pause there would take the menu's keys
  // and clicks until it ended. What comes due meanwhile starts once the menu closed.
  core_.menuOpened();
  MenuItem* chosen = TrackMenu(f->window(), menu, at);
  core_.menuClosed(nowUs());
  // The menu has closed; now the command runs.
  if (!chosen || !chosen->onClick) return;
  Handler command = chosen->onClick;
  core_.run(command);
}

std::optional<std::string> Win32Host::inputBox(std::string_view message, std::string_view title,
                                               std::string_view defaultText) {
  return modal([&] { return RunInputBox(instance_, nullptr, message, title, defaultText); });
}

void Win32Host::messageBox(std::string_view text, std::string_view title) {
  // A text the code page refuses still says something: its characters as "?".
  const std::string ansiText = Utf8ToSystemCodePage(text).value_or("?"),
                    ansiTitle = Utf8ToSystemCodePage(title).value_or("?");
  // Above the program's topmost windows; OK only, no icon.
  modal([&] {
    return MessageBoxA(nullptr, ansiText.c_str(), ansiTitle.c_str(),
                       MB_OK | MB_TOPMOST | MB_SETFOREGROUND);
  });
}

void Win32Host::endProgram() {
  ExitProcess(0);
}

}  // namespace loafix::win32
