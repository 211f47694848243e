// The stand-in chat client living on the simulated desktop: the shared client model
// over SimDesktop windows, its delayed reactions scheduled on the virtual clock.
#pragma once

#include "clientsim/ClientModel.h"
#include "platform/sim/SimClock.h"
#include "platform/sim/SimDesktop.h"

namespace loafix::sim {

class SimClient : private clientsim::ClientSurface {
 public:
  SimClient(SimClock& clock, SimDesktop& desktop);
  ~SimClient() override;

  clientsim::ClientModel& model() { return model_; }
  // The lines every room received, as UTF-8 (tests compare bytes via model().received()).
  std::vector<std::string> receivedUtf8() const;

 private:
  clientsim::Wnd create(clientsim::Wnd parent, std::string_view className,
                        std::string_view caption, bool onTop) override;
  void destroy(clientsim::Wnd window) override;
  bool exists(clientsim::Wnd window) override { return desktop_.exists(window); }
  std::string text(clientsim::Wnd window) override;
  void setText(clientsim::Wnd window, std::string_view text) override;
  void setEnabled(clientsim::Wnd window, bool enabled) override;
  bool enabled(clientsim::Wnd window) override;
  bool visible(clientsim::Wnd window) override;
  void after(int ms, std::function<void()> action) override;

  SimClock& clock_;
  SimDesktop& desktop_;
  clientsim::ClientModel model_;
};

}  // namespace loafix::sim
