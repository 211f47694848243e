#include "client/WindowUtilities.h"

#include <algorithm>
#include <cmath>

#include "core/Text.h"

namespace loafix {

double RoundHalfEven(double value) {
  const double floor = std::floor(value);
  const double diff = value - floor;
  if (diff < 0.5) return floor;
  if (diff > 0.5) return floor + 1;
  return std::fmod(floor, 2.0) == 0 ? floor : floor + 1;
}

namespace {

constexpr double kDay = 86400.0;
// The longest single wait of a pause: it reads the clock at least this often, so a
// change of the time of day by hand is seen within the hour.
constexpr double kLongestWait = 3600.0;

// Seconds since a whole second of the day, counted pass by pass. The time of day says
// where in a day each reading lies, but not how many midnights lie between two
// readings far apart (the machine slept, a message box stayed up overnight): of the
// spans it allows, its difference give or take whole days, the one nearest the steady
// clock's span is taken. A clock set by hand (by less than half a day) still moves the
// end by the change.
class Elapsed {
 public:
  Elapsed(Host& host, double start) : host_(host), last_(start), lastNow_(host.now()) {}
  double operator()() {
    const double now = host_.timeOfDay();
    const double steadyNow = host_.now();
    const double step = now - last_;
    passed_ += step + std::round((steadyNow - lastNow_ - step) / kDay) * kDay;
    last_ = now;
    lastNow_ = steadyNow;
    return passed_;
  }

 private:
  Host& host_;
  double last_, lastNow_;
  double passed_ = 0;
};

}  // namespace

void Pause(Host& host, int seconds) {
  const double start = RoundHalfEven(host.timeOfDay());
  Elapsed elapsed(host, start);
  for (;;) {
    // The test comes before any event is processed: a pause that has already run out
    // returns without processing events.
    if (elapsed() >= seconds) return;
    host.processEvents();
    // Instead of spinning on the clock, sleep until the next event or the end.
    const double left = seconds - elapsed();
    if (left <= 0) return;
    host.waitForEvents(host.now() + std::min(left, kLongestWait));
  }
}

void StayOnTop(WindowSystem& ws, Hwnd form) {
  ws.SetWindowPos(form, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void FormDrag(WindowSystem& ws, Hwnd form) {
  ws.ReleaseCapture();
  ws.SendMessageA(form, WM_SYSCOMMAND, SC_DRAGMOVE, 0);
}

void WindowHide(WindowSystem& ws, Hwnd window) { ws.ShowWindow(window, SW_HIDE); }

void WindowShow(WindowSystem& ws, Hwnd window) { ws.ShowWindow(window, SW_SHOW); }

std::string GetText(WindowSystem& ws, Hwnd window) {
  const int length = ws.GetWindowTextLengthA(window);
  if (length <= 0) return {};
  std::string text = ws.GetWindowTextA(window, length + 1);
  // A caption that shrank in between is padded with zero characters up to length;
  // one that grew was cut at length by the call itself.
  const std::size_t have = Utf8Length(text);
  if (have < static_cast<std::size_t>(length)) text.append(length - have, '\0');
  return text;
}

}  // namespace loafix
