// loafix_driver.exe: a person at the desktop with loafix and the stand-in client.
//
//   loafix_driver.exe [CASE...]      the end-to-end cases (all when none is named)
//   loafix_driver.exe sweep          ends programs left over from an interrupted run
//   loafix_driver.exe demo [--shots DIR] [--tour] [--transcript FILE]
//       a short session: start, idle on with a 5-second interval, brag, idle off,
//       unload; prints the room's transcript. --tour also opens the link-site and
//       feedback windows. With --shots, at each moment worth a picture it creates
//       DIR\NAME.ready and waits for DIR\NAME.done (the caller takes the picture).
//   loafix_driver.exe bench-idle [--shots DIR] [--idle-on-again] [--auto-idle]
//       idling with the poster waiting, for a measurement taken at the checkpoint
//       "measure"; prints the program's memory before and after.
#include "tests/e2e/Cases.h"
#include "tests/e2e/ChatText.h"
#include "tests/e2e/Session.h"

#include <fcntl.h>
#include <io.h>
#include <psapi.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "core/Text.h"

namespace loafix::e2e {
namespace {

using winetest::Now;
using winetest::WaitUntil;

struct DemoOptions {
  std::string shots;       // checkpoint folder, "" for none
  std::string transcript;  // also written here, "" for none
  bool tour = false;
  bool idleOnAgain = false;  // bench-idle: "idle on" chosen again inside the poster's wait
  bool autoIdle = false;     // bench-idle: auto idle (60 minutes) and auto back on
};

double started = 0;

void Say(const char* what) {
  std::printf("[%5.1f s] %s\n", Now() - started, what);
  std::fflush(stdout);
}

bool FileExists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Lets the caller take a picture (or a measurement) of `area` now; returns when it is
// done.
void Checkpoint(const DemoOptions& options, const char* name, const ScreenRect& area = {},
                double seconds = 30) {
  if (options.shots.empty()) return;
  const std::string base = options.shots + "\\" + name;
  DeleteFileA((base + ".done").c_str());
  if (FILE* ready = std::fopen((base + ".ready").c_str(), "wb")) {
    std::fprintf(ready, "%d %d %d %d\n", area.left, area.top, area.width, area.height);
    std::fclose(ready);
  }
  // A slow poll: this wait may be part of what is measured.
  const double deadline = Now() + seconds;
  while (!FileExists(base + ".done") && Now() < deadline)
    MsgWaitForMultipleObjectsEx(0, nullptr, 100, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  DeleteFileA((base + ".ready").c_str());
  DeleteFileA((base + ".done").c_str());
}

// A chat line as a person reads it in the room: the markup's tags are not shown.
std::string PlainText(const std::string& ansi) {
  std::string out;
  bool inTag = false;
  for (char c : ansi) {
    if (c == '<') inTag = true;
    if (!inTag) out += c;
    if (c == '>') inTag = false;
  }
  return AnsiToUtf8(out);
}

bool Answer(const Person& person, const char* title, const std::string& text) {
  const std::optional<Prompt> prompt = person.waitForPrompt(title);
  return prompt && person.answer(*prompt, text);
}

int Demo(const DemoOptions& options) {
  started = Now();
  Session s;
  if (!s.ready()) return 1;
  const Person& person = s.person();
  // The person makes room on the desktop: the client beside the strip and its menu,
  // where the menu will not hide the room, and the client's scenario panel to its right.
  if (HWND frame = s.clientFrame()) {
    SetWindowPos(frame, nullptr, 200, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    const ScreenRect placed = WindowOnScreen(frame);
    if (HWND panel = FindWindowA(nullptr, "clientsim scenarios"))
      SetWindowPos(panel, nullptr, placed.left + placed.width + 8, placed.top, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  Checkpoint(options, "splash", WindowOnScreen(person.window(kSplash)));
  Say("clicking the splash");
  HWND strip = person.start();
  if (!strip) return 1;
  s.log().waitForLines(0, 6, 10);
  Checkpoint(options, "strip", WindowOnScreen(strip));

  Say("setting the interval to 5 seconds");
  if (!person.choose("scrollinginterval") || !Answer(person, "set interval", "5")) return 1;
  Say("switching idling on");
  if (!person.choose("idleon")) return 1;
  std::size_t mark = s.log().mark();
  Say("waiting for the announcement and the first idle post");
  s.log().waitForLines(mark, 4, 12);
  Say("bragging");
  mark = s.log().mark();
  if (!person.choose("bragstats")) return 1;
  s.log().waitForLines(mark, 2, 5);

  if (person.openMenuAt("idleoff")) {
    Say("the command menu, open at idle opts.");
    ScreenRect area = WindowOnScreen(strip);
    for (HWND menu : person.menus()) area = Union(area, WindowOnScreen(menu));
    Checkpoint(options, "menu", area);
    person.dismissMenu();
  }
  Say("switching idling off");
  mark = s.log().mark();
  if (!person.choose("idleoff")) return 1;
  // The off line; the tick that was waiting may still post once more after it.
  s.log().waitForLines(mark, 2, 5);
  if (options.tour) {
    if (person.choose("linksite")) {
      if (HWND form = person.waitShown(kLinkSite)) {
        Checkpoint(options, "linksite", WindowOnScreen(form));
        person.click(form, kLinkCancel);
        person.waitHidden(kLinkSite);
      }
    }
    if (person.choose("mailme")) {
      if (HWND form = person.waitShown(kFeedback)) {
        Checkpoint(options, "feedback", WindowOnScreen(form));
        person.click(form, kFeedbackClose);
        person.waitHidden(kFeedback);
      }
    }
  }
  Checkpoint(options, "room", WindowOnScreen(s.clientFrame()));

  Say("unloading");
  person.choose("unload");
  // Reading the room meanwhile, so each line is stamped when it came.
  WaitUntil(
      [&] {
        s.log().poll();
        return !s.program().running();
      },
      10);

  std::string transcript = "\nThe chat room \"Town Square\" as its people read it:\n\n";
  for (const ClientLog::Entry& e : s.log().chatSince(0)) {
    char when[16];
    std::snprintf(when, sizeof when, "%5.1f s  ", e.seen - started);
    transcript += std::string("  ") + when + PlainText(e.line) + "\n";
  }
  std::fwrite(transcript.data(), 1, transcript.size(), stdout);
  std::fflush(stdout);
  if (!options.transcript.empty()) {
    if (FILE* f = std::fopen(options.transcript.c_str(), "wb")) {
      std::fwrite(transcript.data(), 1, transcript.size(), f);
      std::fclose(f);
    }
  }
  return s.program().running() ? 1 : 0;
}

void PrintMemory(HANDLE process, const char* when) {
  PROCESS_MEMORY_COUNTERS_EX counters{};
  counters.cb = sizeof counters;
  if (!GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                            sizeof counters)) {
    std::printf("memory %s: not available\n", when);
    return;
  }
  // Wine leaves PrivateUsage at 0; the Linux side reads the process's pages then.
  if (counters.PrivateUsage != 0)
    std::printf("memory %s: private bytes %.1f MiB, working set %.1f MiB\n", when,
                static_cast<double>(counters.PrivateUsage) / 1048576.0,
                static_cast<double>(counters.WorkingSetSize) / 1048576.0);
  else
    std::printf("memory %s: working set %.1f MiB (no private bytes reported)\n", when,
                static_cast<double>(counters.WorkingSetSize) / 1048576.0);
}

int IdleForMeasurement(const DemoOptions& options) {
  started = Now();
  Session s;
  if (!s.ready() || !s.person().start()) return 1;
  const Person& person = s.person();
  // A long interval: the poster spends the whole measurement inside its wait.
  if (!person.choose("scrollinginterval") || !Answer(person, "set interval", "3600")) return 1;
  // With idling by itself on, its check looks at the input clock every few seconds.
  if (options.autoIdle &&
      (!person.choose("autoidle") || !Answer(person, "auto idle", "60") || !person.choose("autoback")))
    return 1;
  const std::size_t mark = s.log().mark();
  if (!person.choose("idleon") || !s.log().waitForLines(mark, 2, 5)) return 1;
  // Again while the poster's tick waits: the poster's timer is re-armed inside its own
  // running tick, which must wake nothing until the tick returns.
  if (options.idleOnAgain && (!person.choose("idleon") || !s.log().waitForLines(mark, 4, 5)))
    return 1;
  HANDLE process =
      OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, s.program().id());
  std::printf("loafix.exe is process %lu\n", s.program().id());
  PrintMemory(process, "while idling, before");
  std::fflush(stdout);
  Checkpoint(options, "measure", {}, 300);
  PrintMemory(process, "while idling, after");
  CloseHandle(process);
  const std::vector<std::string> posted = s.log().linesSince(mark);
  std::printf("log lines since idle on: %zu (2: the announcement alone, the poster waited)\n",
              posted.size());
  for (const std::string& line : posted) std::printf("  %s\n", Readable(line).c_str());
  person.choose("unload");
  s.program().waitForExit(10);
  return 0;
}

DemoOptions ParseDemoOptions(int argc, char** argv) {
  DemoOptions options;
  for (int i = 2; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--shots") && i + 1 < argc)
      options.shots = argv[++i];
    else if (!std::strcmp(argv[i], "--transcript") && i + 1 < argc)
      options.transcript = argv[++i];
    else if (!std::strcmp(argv[i], "--tour"))
      options.tour = true;
    else if (!std::strcmp(argv[i], "--idle-on-again"))
      options.idleOnAgain = true;
    else if (!std::strcmp(argv[i], "--auto-idle"))
      options.autoIdle = true;
  }
  return options;
}

}  // namespace
}  // namespace loafix::e2e

int main(int argc, char** argv) {
  using namespace loafix::e2e;
  // The transcript is UTF-8 and goes out unchanged.
  _setmode(_fileno(stdout), _O_BINARY);
  if (argc >= 2 && !std::strcmp(argv[1], "sweep")) {
    EndLeftovers();
    return 0;
  }
  if (argc >= 2 && !std::strcmp(argv[1], "demo")) return Demo(ParseDemoOptions(argc, argv));
  if (argc >= 2 && !std::strcmp(argv[1], "bench-idle"))
    return IdleForMeasurement(ParseDemoOptions(argc, argv));
  return loafix::winetest::RunCases(argc, argv, EndToEndCases());
}
