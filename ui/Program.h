// The program: its windows, created the first time anything refers to them and
// hidden rather than destroyed, the menu tree and the two timers owned by the menu
// holder, and the services every handler reaches through it. State lives where a
// person sees it: check marks in the menu tree, the idle counters in the captions of
// the main window's labels, texts in the settings file (read afresh at each use).
#pragma once

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

#include "core/FormSpec.h"
#include "core/Host.h"
#include "client/MailComposer.h"
#include "core/WindowSystem.h"
#include "settings/SettingsStore.h"

namespace loafix {

class Program {
 public:
  Program(WindowSystem& ws, Host& host, SettingsStore& settings);
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  // Program start: creates and shows the splash window; nothing else happens until
  // the user clicks it.
  void start();

  WindowSystem& ws;
  Host& host;
  SettingsStore& settings;

  // The windows, each created (and loaded) on first reference.
  Hwnd Form1();  // splash
  Hwnd Form2();  // main window: the strip with the idle counters
  Hwnd Form3();  // menu holder: never shown; owns the menu tree and the timers
  Hwnd Form4();  // link-site window
  Hwnd Form5();  // feedback mail window

  // An item of the menu tree by name; creates Form3 on first use.
  MenuItem& item(std::string_view name);
  bool checked(std::string_view name) { return item(name).checked; }
  void check(std::string_view name, bool on) { item(name).checked = on; }
  MenuItem& menu();  // the top-level item "file"

  TimerId Timer1();  // the idle clock
  TimerId Timer2();  // the periodic poster
  TimerId Timer3();  // the auto idle check: stopped unless auto idle or auto back is on

  // What the strip's tooltip tells and auto back needs; nothing of it is stored.
  struct IdleState {
    double since = -1;           // time of day idling began; -1 while not idling
    double nextLineAt = -1;      // now() when the poster's current wait ends
    // Once auto back has seen a quiet minute since idling began: the last input (now())
    // at that moment; any later input is a return.
    std::optional<double> backArmedAt;
    bool checking = false;       // Timer3 runs
  } idleState;

  // Caption of a label or content of a text box of one of the windows.
  std::string text(Hwnd form, std::string_view control) { return host.controlText(form, control); }
  void setText(Hwnd form, std::string_view control, std::string_view value) {
    host.setControlText(form, control, value);
  }

  // A setting of section "idle info", read or written through one spelling of the file.
  std::string read(std::string_view key, std::string_view file = kIniUpper) const;
  struct SettingWrite {
    std::string_view key;
    std::optional<std::string_view> value;
    std::string_view file = kIniUpper;
  };
  // Writes the settings one command saves, in order. When any of them cannot be written,
  // the person is told once, with the settings and the file named: what they typed is
  // never lost without a word.
  void write(std::initializer_list<SettingWrite> writes);
  void write(std::string_view key, std::optional<std::string_view> value,
             std::string_view file = kIniUpper) {
    write({{key, value, file}});
  }

  // The feedback window's mail: a second send while one is still retrying is ignored.
  MailSendGuard feedbackMail;

 private:
  Hwnd load(Hwnd& slot, const FormSpec& layout);

  Hwnd form1_ = 0, form2_ = 0, form3_ = 0, form4_ = 0, form5_ = 0;
  TimerId timer1_ = -1, timer2_ = -1, timer3_ = -1;
  MenuItem file_;
};

// ---- the windows' descriptions, each beside its handlers ----
FormSpec SplashSpec(Program& p);
FormSpec MainWindowSpec(Program& p);
FormSpec MenuHolderSpec();
MenuItem CommandMenu(Program& p);
FormSpec LinkSiteSpec(Program& p);
FormSpec FeedbackSpec(Program& p);

// ---- handlers that other handlers or the menu call ----
void SplashClick(Program& p);
void OpenCommandMenu(Program& p);
void EndProgram(Program& p);  // unload and the close area: advertise, then end
// Posts BrandLine, pauses one second (events keep running), then posts AdLinkLine.
void Advertise(WindowSystem& ws, Host& host);
void IdleClockTick(Program& p);
void IdlePosterTick(Program& p);
void idleon(Program& p);
void idleoff(Program& p);
void bragstats(Program& p);
void aimsn(Program& p);
void setascii(Program& p);
void reason(Program& p);
void scrollinginterval(Program& p);
void enablescrolling(Program& p);
// Idling by itself: the two items at the end of the idle options, and the check.
void autoidle(Program& p);
void autoback(Program& p);
void AutoIdleTick(Program& p);
// Starts or stops Timer3 as the settings ask, after each change.
void ArmAutoIdle(Program& p);
// At start-up: the "auto back" mark from the settings file, and the check armed.
void AutoIdleAtStart(Program& p);
// The strip's tooltip: "not idle", or since when, when the next line goes and how often.
std::string StripTooltip(Program& p);
void linksite(Program& p);
void about(Program& p);
void disclamer(Program& p);
void advertise(Program& p);
void mailme(Program& p);
// The chores in the client, through the client driver.
void ClientUpchat(Program& p);
void ClientUnupchat(Program& p);
void ClientHide(Program& p);
void ClientShow(Program& p);
void ClientImOff(Program& p);
void ClientImOn(Program& p);

// The poster's reading of the "interval" setting: a leading decimal number (sign and
// fraction allowed) followed by anything, e.g. the "." the interval prompt appends;
// rounded half to even; clamped to 32 bits. Nothing readable counts as 60.
int IntervalSeconds(std::string_view text);
// The "auto idle" setting's minutes: leading digits after any blanks; 0 (off) when there
// are none, and at most a year.
int AutoIdleMinutes(std::string_view text);

}  // namespace loafix
