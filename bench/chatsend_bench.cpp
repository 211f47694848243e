// ChatSend on the simulated desktop: one chat room open behind a few other client
// windows, a statistics line sent over and over. Prints the time per call.
//
//   chatsend_bench [calls]      (100000 by default)
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "client/clientkit.h"
#include "idle/ChatLines.h"
#include "platform/sim/SimClient.h"

int main(int argc, char** argv) {
  using namespace loafix;
  const long calls = argc > 1 ? std::atol(argv[1]) : 100000;

  sim::SimClock clock;
  sim::SimDesktop desktop(clock);
  sim::SimClient client(clock, desktop);
  client.model().start();
  // The room the lookup wants is not the first child it looks at.
  desktop.create(client.model().mdi(), "AOL Child", "Buddy List");
  client.model().openRoom("Lobby");
  const std::string line = StatsLine("¬", "0", "2", "15");

  ChatSend(desktop, line);  // warm up
  const auto start = std::chrono::steady_clock::now();
  for (long i = 0; i < calls; ++i) ChatSend(desktop, line);
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;

  const std::size_t received = client.model().received().size();
  if (received != static_cast<std::size_t>(calls) + 1) {
    std::printf("chatsend: the room received %zu lines, expected %ld\n", received, calls + 1);
    return 1;
  }
  std::printf("chatsend: %ld calls in %.3f s, %.2f us per call (simulated desktop)\n", calls,
              took.count(), took.count() * 1e6 / static_cast<double>(calls));
  return 0;
}
