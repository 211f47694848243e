// loafix on the simulated desktop, with the stand-in client and a scripted person:
// clicks the splash, sets a reason, switches idling on and waits, in virtual time.
// Prints the room as a person would read it. For demos and for the long-run benchmark.
//
//   loafix_headless [--days D] [--minutes M] [--interval S] [--reason TEXT] [--tail N]
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include "clientsim/Hex.h"
#include "core/Text.h"
#include "platform/sim/SimClient.h"
#include "platform/sim/SimHost.h"
#include "settings/SettingsStore.h"
#include "ui/UiCommands.h"

namespace {

// The markup as the room shows it: tags dropped, text kept.
std::string PlainText(std::string_view markup) {
  std::string out;
  bool inTag = false;
  for (char c : markup) {
    if (c == '<') {
      inTag = true;
    } else if (c == '>') {
      inTag = false;
    } else if (!inTag) {
      out += c;
    }
  }
  return out;
}

struct Options {
  double days = 0;
  double minutes = 5;
  std::string interval = "60";
  std::string reason = "lunch";
  long tail = 40;
};

Options Parse(int argc, char** argv) {
  Options o;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string_view flag = argv[i];
    const char* value = argv[i + 1];
    if (flag == "--days") {
      o.days = std::atof(value);
      o.minutes = 0;
    } else if (flag == "--minutes") {
      o.minutes = std::atof(value);
    } else if (flag == "--interval") {
      o.interval = value;
    } else if (flag == "--reason") {
      o.reason = value;
    } else if (flag == "--tail") {
      o.tail = std::atol(value);
    } else {
      std::fprintf(stderr, "unknown option %s\n", argv[i]);
      std::exit(2);
    }
  }
  return o;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace loafix;
  const Options options = Parse(argc, argv);
  const auto folder = std::filesystem::temp_directory_path() / "loafix-headless";
  std::filesystem::create_directories(folder);
  std::filesystem::remove(folder / "loafix.ini");

  sim::SimClock clock(9 * 3600.0);
  sim::SimDesktop desktop(clock);
  sim::SimHost host(clock, desktop);
  sim::SimClient client(clock, desktop);
  SettingsStore store(folder.string());
  Program program(desktop, host, store, LoafixParts());
  client.model().start();
  client.model().openRoom("Town Square");

  // Keep only the tail of the room in memory: a month of idling posts ~86,000 lines.
  long lines = 0;
  std::vector<std::string> tail;
  client.model().options.keepHistory = false;
  client.model().onLog = [&](const std::string& entry) {
    if (entry.rfind("chat ", 0) != 0) return;
    ++lines;
    if (options.tail <= 0) return;
    if (static_cast<long>(tail.size()) == options.tail) tail.erase(tail.begin());
    tail.push_back(PlainText(AnsiToUtf8(Unhex(std::string_view(entry).substr(5)))));
  };

  auto choose = [&](std::string_view item) {
    host.click(program.Form2(), "Label6");
    host.choose(item);
  };
  const auto started = std::chrono::steady_clock::now();
  program.start();
  host.click(program.Form1(), "");
  host.answerPrompt(options.interval);
  choose("scrollinginterval");
  host.answerPrompt(options.reason);
  choose("reason");
  choose("idleon");
  host.runFor(options.days * 86400 + options.minutes * 60);
  const Hwnd strip = program.Form2();
  const std::string shown = host.controlText(strip, "Label2") + " : " +
                            host.controlText(strip, "Label3") + " : " +
                            host.controlText(strip, "Label4");
  choose("idleoff");
  const double elapsed =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();

  for (const std::string& line : tail) std::printf("%s\n", line.c_str());
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  std::printf("-- %ld lines in %.2f virtual days; the strip showed %s before idle off\n", lines,
              host.now() / 86400.0, shown.c_str());
  std::fprintf(stderr, "-- %.2f s real time, peak memory %ld KiB, ticks: clock %d, poster %d\n",
               elapsed, usage.ru_maxrss, host.ticksStarted(program.Timer1()),
               host.ticksStarted(program.Timer2()));
  return 0;
}
