// The program's state: its windows, created the first time anything refers to them and
// hidden rather than destroyed, the menu tree and the timers owned by the menu holder,
// and the services every handler reaches through it. State lives where a person sees
// it: check marks in the menu tree, the idle counters in the captions of the main
// window's labels, texts in the settings file (read afresh at each use).
//
// What the windows, the menu and the timers do comes from the layers above, through
// ProgramParts; each subsystem declares its handlers in a header of its own.
#pragma once

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

#include "core/FormSpec.h"
#include "core/Host.h"
#include "core/Settings.h"
#include "core/WindowSystem.h"

namespace loafix {

class Program;

// The descriptions of the program's windows and of its command menu, and the handlers
// of its three timers, each given the program they belong to.
struct ProgramParts {
  FormSpec (*splash)(Program&);      // Form1
  FormSpec (*mainWindow)(Program&);  // Form2
  FormSpec (*linkSite)(Program&);    // Form4
  FormSpec (*feedback)(Program&);    // Form5
  MenuItem (*commandMenu)(Program&);
  void (*idleClockTick)(Program&);   // Timer1
  void (*idlePosterTick)(Program&);  // Timer2
  void (*autoIdleTick)(Program&);    // Timer3
};

class Program {
 public:
  // Watches the window system's client operations for as long as it lives: the last
  // chat line's fate, and the one box about a client that refuses the program.
  Program(WindowSystem& ws, Host& host, Settings& settings, const ProgramParts& parts);
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  // Program start: creates and shows the splash window; nothing else happens until
  // the user clicks it.
  void start();

  WindowSystem& ws;
  Host& host;
  Settings& settings;

  // The windows, each created (and loaded) on first reference.
  Hwnd Form1();  // splash
  Hwnd Form2();  // main window: the strip with the idle counters
  Hwnd Form3();  // menu holder: never shown; owns the menu tree and the timers
  Hwnd Form4();  // link-site window
  Hwnd Form5();  // feedback mail window
  // True once the splash has been clicked: the strip exists from then on.
  bool mainWindowLoaded() const { return form2_ != 0; }

  // An item of the menu tree by name; creates Form3 on first use.
  MenuItem& item(ItemName name);
  bool checked(ItemName name) { return item(name).checked; }
  void check(ItemName name, bool on) { item(name).checked = on; }
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

  // What became of the last chat line, for the strip's tooltip; nothing of it is stored
  // and nobody else is told.
  struct LastLine {
    double at = -1;  // time of day it was handed to the client; -1 before the first
    ClientStop stop = ClientStop::None;
    bool noRoom = false;
    std::string room;  // the room's caption, when the line went in
  } lastLine;

  // True while the feedback window's mail is being sent: a second send is ignored.
  bool mailSending = false;

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
  // the person is told once, with the file named and which settings were saved and which
  // were not: what they typed is never lost without a word.
  void write(std::initializer_list<SettingWrite> writes);
  void write(std::string_view key, std::optional<std::string_view> value,
             std::string_view file = kIniUpper) {
    write({{key, value, file}});
  }

 private:
  Hwnd load(Hwnd& slot, const FormSpec& layout);

  ProgramParts parts_;
  Hwnd form1_ = 0, form2_ = 0, form3_ = 0, form4_ = 0, form5_ = 0;
  TimerId timer1_ = -1, timer2_ = -1, timer3_ = -1;
  MenuItem file_;
  bool toldOfRefusal_ = false;
};

// A menu item's handler that runs a command of the program.
inline Handler Runs(Program& p, void (*command)(Program&)) {
  return [&p, command] { command(p); };
}

}  // namespace loafix
