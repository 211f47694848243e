#include "platform/sim/SimClient.h"

namespace loafix::sim {

SimClient::SimClient(SimClock& clock, SimDesktop& desktop)
    : clock_(clock), desktop_(desktop), model_(*this) {
  desktop_.onDestroyed = [this](Hwnd window) { model_.onDestroyed(window); };
}

SimClient::~SimClient() { desktop_.onDestroyed = nullptr; }

std::vector<std::string> SimClient::receivedUtf8() const {
  std::vector<std::string> lines;
  for (const std::string& line : model_.received())
    lines.push_back(desktop_.codePage().ToUtf8(line));
  return lines;
}

clientsim::Wnd SimClient::create(clientsim::Wnd parent, std::string_view className,
                                 std::string_view caption, bool onTop) {
  const Hwnd window = desktop_.create(parent, className, caption, onTop);
  desktop_.setHandler(window, [this](Hwnd self, const SimMessage& m) {
    return model_.onMessage(self, m.message, m.wParam, m.lParam, m.text);
  });
  return window;
}

void SimClient::destroy(clientsim::Wnd window) { desktop_.destroy(window); }

std::string SimClient::text(clientsim::Wnd window) {
  SimWindow* w = desktop_.window(window);
  return w ? w->caption : std::string();
}

void SimClient::setText(clientsim::Wnd window, std::string_view text) {
  if (SimWindow* w = desktop_.window(window)) w->caption = text;
}

void SimClient::setEnabled(clientsim::Wnd window, bool enabled) {
  if (SimWindow* w = desktop_.window(window)) w->enabled = enabled;
}

bool SimClient::enabled(clientsim::Wnd window) {
  SimWindow* w = desktop_.window(window);
  return w && w->enabled;
}

bool SimClient::visible(clientsim::Wnd window) {
  SimWindow* w = desktop_.window(window);
  return w && w->visible;
}

void SimClient::after(int ms, std::function<void()> action) {
  clock_.schedule(clock_.nowUs() + static_cast<Micros>(ms) * 1000, std::move(action));
}

}  // namespace loafix::sim
