#include "client/clientkit.h"

#include "client/Ansi.h"

#include <algorithm>
#include <cmath>

namespace loafix {

Hwnd FindChatRoom(WindowSystem& ws) {
  const Hwnd mdi = ClientMdi(ws);
  for (Hwnd child = ChildOf(ws, mdi, 0, kChildClass); child != 0;
       child = ChildOf(ws, mdi, child, kChildClass)) {
    // All four lookups every time: only the presence of each class is tested.
    const Hwnd rich = ChildOf(ws, child, 0, kRichClass);
    const Hwnd list = ChildOf(ws, child, 0, kListboxClass);
    const Hwnd icon = ChildOf(ws, child, 0, kIconClass);
    const Hwnd label = ChildOf(ws, child, 0, kStaticClass);
    if (rich != 0 && list != 0 && icon != 0 && label != 0) return child;
  }
  return 0;
}

void ChatSend(WindowSystem& ws, std::string_view text) {
  const Hwnd room = FindChatRoom(ws);
  // With no room, the lookups below would run over the top-level windows, and two
  // stray "RICHCNTL" windows of another program would get the line and an Enter.
  if (room == 0) return;
  const Hwnd first = ChildOf(ws, room, 0, kRichClass);
  const Hwnd box = ChildOf(ws, room, first, kRichClass);
  ws.SendMessageA(box, WM_SETTEXT, 0, text);
  ws.SendMessageA(box, WM_CHAR, 13, 0);
}

void SetText(WindowSystem& ws, Hwnd window, std::string_view text) {
  ws.SendMessageA(window, WM_SETTEXT, 0, text);
}

double RoundHalfEven(double value) {
  const double floor = std::floor(value);
  const double diff = value - floor;
  if (diff < 0.5) return floor;
  if (diff > 0.5) return floor + 1;
  return std::fmod(floor, 2.0) == 0 ? floor : floor + 1;
}

namespace {

constexpr double kDay = 86400.0;
// The longest single wait of a pause. The time of day is all a pause reads, so it
// looks at least this often to count every midnight it crosses.
constexpr double kLongestWait = 3600.0;

// Seconds since a whole second of the day, counted pass by pass: a reading that falls
// back by more than half a day has crossed midnight, and a day is added.
class Elapsed {
 public:
  Elapsed(Host& host, double start) : host_(host), start_(start), last_(start) {}
  double operator()() {
    const double now = host_.timeOfDay();
    if (now < last_ - kDay / 2) days_ += kDay;
    last_ = now;
    return now + days_ - start_;
  }

 private:
  Host& host_;
  double start_, last_;
  double days_ = 0;
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
