// A simulated desktop with the stand-in client, and a window-system wrapper that
// notes what the program did to the client's windows and when.
#pragma once

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "core/WindowSystem.h"
#include "platform/sim/SimClient.h"
#include "platform/sim/SimHost.h"

namespace loafix::clienttest {

// Forwards to the desktop; keeps the program's calls in order with their times.
class Spy : public WindowSystem {
 public:
  struct Call {
    std::string op;  // "send", "post", "show", "enable"
    Hwnd window;
    std::uint32_t message;  // or the show command / enable flag
    std::uintptr_t wParam;
    std::string text;
    double time;
  };

  Spy(sim::SimDesktop& desktop, sim::SimClock& clock) : desktop_(desktop), clock_(clock) {}

  std::vector<Call> calls;
  long lookups = 0;

  std::vector<Call> callsTo(Hwnd window) const {
    std::vector<Call> out;
    for (const Call& c : calls)
      if (c.window == window) out.push_back(c);
    return out;
  }
  std::vector<Call> posts() const {
    std::vector<Call> out;
    for (const Call& c : calls)
      if (c.op == "post") out.push_back(c);
    return out;
  }

  Hwnd FindWindowA(std::string_view className, std::optional<std::string_view> caption) override {
    look();
    return desktop_.FindWindowA(className, caption);
  }
  Hwnd FindWindowExA(Hwnd parent, Hwnd after, std::string_view className,
                     std::optional<std::string_view> caption) override {
    look();
    return desktop_.FindWindowExA(parent, after, className, caption);
  }
  std::intptr_t SendMessageA(Hwnd w, std::uint32_t m, std::uintptr_t wp,
                             std::intptr_t lp) override {
    note("send", w, m, wp, "");
    return desktop_.SendMessageA(w, m, wp, lp);
  }
  std::intptr_t SendMessageA(Hwnd w, std::uint32_t m, std::uintptr_t wp,
                             std::string_view text) override {
    note("send", w, m, wp, std::string(text));
    return desktop_.SendMessageA(w, m, wp, text);
  }
  void PostMessageA(Hwnd w, std::uint32_t m, std::uintptr_t wp, std::intptr_t lp) override {
    note("post", w, m, wp, "");
    desktop_.PostMessageA(w, m, wp, lp);
  }
  void ShowWindow(Hwnd w, int command) override {
    note("show", w, static_cast<std::uint32_t>(command), 0, "");
    desktop_.ShowWindow(w, command);
  }
  void EnableWindow(Hwnd w, bool enable) override {
    note("enable", w, enable ? 1 : 0, 0, "");
    desktop_.EnableWindow(w, enable);
  }
  void SetWindowPos(Hwnd w, std::intptr_t after, int x, int y, int cx, int cy,
                    unsigned flags) override {
    desktop_.SetWindowPos(w, after, x, y, cx, cy, flags);
  }
  void ReleaseCapture() override { desktop_.ReleaseCapture(); }
  int GetWindowTextLengthA(Hwnd w) override { return desktop_.GetWindowTextLengthA(w); }
  std::string GetWindowTextA(Hwnd w, int maxCount) override {
    return desktop_.GetWindowTextA(w, maxCount);
  }

 private:
  // A wait that spins instead of sleeping never lets virtual time move on; stop it
  // here rather than hang the test run.
  void look() {
    if (++lookups > 2'000'000) throw std::runtime_error("the program is spinning on lookups");
  }
  void note(const char* op, Hwnd w, std::uint32_t m, std::uintptr_t wp, std::string text) {
    calls.push_back(Call{op, w, m, wp, std::move(text), clock_.now()});
  }

  sim::SimDesktop& desktop_;
  sim::SimClock& clock_;
};

// One desktop, the program's host, the stand-in client (not started) and the spy.
// The clock starts at 10:00:00.2, so Pause(0) returns at once unless told otherwise.
struct ClientDesk {
  explicit ClientDesk(double timeOfDay = 10 * 3600.0 + 0.2) : clock(timeOfDay) {}

  clientsim::ClientModel& model() { return client.model(); }
  // The children of a window of the client with the class, in order.
  std::vector<Hwnd> kids(Hwnd parent, std::string_view className) {
    std::vector<Hwnd> out;
    for (Hwnd h : desktop.children(parent))
      if (desktop.window(h)->className == className) out.push_back(h);
    return out;
  }
  // Seconds since the desk was made.
  double elapsed() const { return clock.now(); }

  sim::SimClock clock;
  sim::SimDesktop desktop{clock};
  sim::SimHost host{clock, desktop};
  sim::SimClient client{clock, desktop};
  Spy spy{desktop, clock};
};

}  // namespace loafix::clienttest
