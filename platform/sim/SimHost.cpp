#include "platform/sim/SimHost.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/Text.h"

namespace loafix::sim {
namespace {

constexpr Micros kNever = std::numeric_limits<Micros>::max();

const MenuItem* FindItem(const MenuItem& menu, std::string_view name) {
  for (const MenuItem& item : menu.children) {
    if (item.name == name) return &item;
    if (const MenuItem* found = FindItem(item, name)) return found;
  }
  return nullptr;
}

}  // namespace

SimHost::SimHost(SimClock& clock, SimDesktop& desktop)
    : clock_(clock), desktop_(desktop), core_(desktop) {}

// ---- events and time ----

bool SimHost::runOneDue(Micros horizon) {
  // Scheduled actions and timer ticks in the order they came due; an action first
  // when both are due at the same moment.
  const auto queued = clock_.nextDue();
  const auto ticking = core_.nextDue();
  const bool queueFirst = queued && *queued <= horizon && (!ticking || *queued <= *ticking);
  ++depth_;
  struct Leave {
    int& depth;
    ~Leave() { --depth; }
  } leave{depth_};
  if (!queueFirst) return core_.runOneDue(horizon, clock_.nowUs());
  clock_.takeDue()();
  return true;
}

Micros SimHost::nextEvent() const {
  return std::min(clock_.nextDue().value_or(kNever), core_.nextDue().value_or(kNever));
}

void SimHost::processEvents() {
  if (ended_) return;
  // Only what is pending at the call: a tick that outlasts its timer's interval must
  // not keep this call from returning.
  const Micros horizon = clock_.nowUs();
  while (runOneDue(horizon)) {
  }
}

void SimHost::waitForEvents(double deadline) {
  if (ended_) return;
  Micros until = static_cast<Micros>(std::ceil(deadline * 1e6));
  if (until <= clock_.nowUs()) until = clock_.nowUs() + 1;
  clock_.advanceTo(std::min(until, nextEvent()));
}

bool SimHost::runUntil(double time) {
  const Micros target = ToMicros(time);
  try {
    while (!ended_) {
      processEvents();
      if (clock_.nowUs() >= target) break;
      clock_.advanceTo(std::min(target, std::max(nextEvent(), clock_.nowUs() + 1)));
    }
  } catch (const ProgramEnded&) {
  }
  return !ended_;
}

void SimHost::at(double time, std::function<void()> action) {
  clock_.schedule(ToMicros(time), [this, action = std::move(action)] {
    if (!ended_) action();
  });
}

void SimHost::asEvent(const std::function<void()>& action) {
  if (ended_) return;
  if (depth_ > 0) {
    core_.run(action);
    return;
  }
  ++depth_;
  try {
    core_.run(action);
  } catch (const ProgramEnded&) {
  }
  --depth_;
}

void SimHost::runModal(const std::function<bool()>& done, const char* what) {
  while (!done()) {
    processEvents();
    if (done()) break;
    if (!clock_.nextDue())
      throw std::logic_error(std::string(what) + " is open and nobody is scheduled to answer it");
    clock_.advanceTo(std::max(nextEvent(), clock_.nowUs()));
  }
}

// ---- timers ----

TimerId SimHost::createTimer(Handler onTick) {
  // A tick is an event of its own: it ends at ProgramEnded like any other.
  return core_.createTimer(std::move(onTick));
}

void SimHost::setTimer(TimerId timer, bool enabled, int intervalMs) {
  core_.setTimer(timer, enabled, intervalMs, clock_.nowUs());
}

bool SimHost::timerEnabled(TimerId timer) const { return core_.timerEnabled(timer); }

int SimHost::timerInterval(TimerId timer) const { return core_.timerInterval(timer); }

int SimHost::ticksStarted(TimerId timer) const { return core_.ticksStarted(timer); }

int SimHost::mostTicksAtOnce(TimerId timer) const { return core_.mostTicksAtOnce(timer); }

// ---- forms ----

SimHost::Form* SimHost::form(Hwnd hwnd) {
  for (Form& f : forms_)
    if (f.hwnd == hwnd) return &f;
  return nullptr;
}

Hwnd SimHost::findForm(std::string_view name) const {
  for (const Form& f : forms_)
    if (f.layout.name == name) return f.hwnd;
  return 0;
}

const FormSpec* SimHost::layout(Hwnd hwnd) const {
  for (const Form& f : forms_)
    if (f.hwnd == hwnd) return &f.layout;
  return nullptr;
}

const ControlSpec* SimHost::control(Form& f, std::string_view name, std::size_t* index) {
  for (std::size_t i = 0; i < f.layout.controls.size(); ++i) {
    if (f.layout.controls[i].name == name) {
      if (index) *index = i;
      return &f.layout.controls[i];
    }
  }
  return nullptr;
}

Hwnd SimHost::createForm(const FormSpec& layout) {
  const Hwnd hwnd = desktop_.create(
      0, kFormClass, desktop_.codePage().FromUtf8(layout.caption).value_or("?"), true);
  desktop_.window(hwnd)->visible = false;
  Form f{hwnd, layout, {}};
  for (const ControlSpec& c : layout.controls) f.texts.push_back(c.text);
  forms_.push_back(std::move(f));
  desktop_.setHandler(hwnd, [this](Hwnd self, const SimMessage& m) -> std::optional<std::intptr_t> {
    if (m.message != WM_CLOSE) return std::nullopt;
    // Closing from outside never destroys one of the program's windows.
    Form* f = form(self);
    Handler onClose = f ? f->layout.onCloseRequest : Handler();
    if (onClose) {
      onClose();
    } else {
      hideForm(self);
    }
    return 0;
  });
  return hwnd;
}

void SimHost::showForm(Hwnd hwnd) { desktop_.setShown(hwnd, SW_SHOW); }

void SimHost::hideForm(Hwnd hwnd) { desktop_.setShown(hwnd, SW_HIDE); }

void SimHost::minimizeForm(Hwnd hwnd) { desktop_.setShown(hwnd, SW_MINIMIZE); }

void SimHost::restoreForm(Hwnd hwnd) {
  SimWindow* w = desktop_.window(hwnd);
  if (!w || !w->minimized) return;
  w->minimized = false;
  const Form* f = form(hwnd);
  const Handler onRestore = f ? f->layout.onRestore : Handler();
  if (onRestore) onRestore();
}

bool SimHost::formVisible(Hwnd hwnd) {
  SimWindow* w = desktop_.window(hwnd);
  return w && w->visible;
}

std::string SimHost::controlText(Hwnd hwnd, std::string_view name) {
  Form* f = form(hwnd);
  std::size_t index = 0;
  if (!f || !control(*f, name, &index)) return {};
  return f->texts[index];
}

void SimHost::setControlText(Hwnd hwnd, std::string_view name, std::string_view text) {
  Form* f = form(hwnd);
  std::size_t index = 0;
  if (!f || !control(*f, name, &index)) return;
  f->texts[index] = text;
}

void SimHost::setTooltip(Hwnd hwnd, std::function<std::string()> text) {
  if (Form* f = form(hwnd)) f->tooltip = std::move(text);
}

std::optional<std::string> SimHost::tooltip(Hwnd hwnd) const {
  for (const Form& f : forms_)
    if (f.hwnd == hwnd && f.tooltip) return f.tooltip();
  return std::nullopt;
}

// ---- menus and modal boxes ----

void SimHost::popupMenu(Hwnd hwnd, MenuItem& menu, int xTwips, int yTwips) {
  // The menu stays open until the person chooses or dismisses it; no tick starts
  // meanwhile, as none starts inside the window system's menu loop.
  if (!openMenu_) core_.menuOpened();
  openMenu_ = &menu;
  menuForm_ = hwnd;
  menuPoint_ = {xTwips, yTwips};
}

std::optional<std::string> SimHost::inputBox(std::string_view message, std::string_view title,
                                             std::string_view defaultText) {
  prompts_.push_back(Prompt{std::string(message), std::string(title), std::string(defaultText)});
  const ModalInput only = onlyInput();
  runModal([this] { return !answers_.empty(); }, "an input prompt");
  auto answer = std::move(answers_.front());
  answers_.pop_front();
  input();  // the person typed the answer and pressed a button
  return answer;
}

void SimHost::messageBox(std::string_view text, std::string_view title) {
  boxes_.push_back(Box{std::string(text), std::string(title)});
  if (!holdBoxes_) return;
  const int mine = ++boxesOpen_;
  const ModalInput only = onlyInput();
  runModal([this, mine] { return boxesDismissed_ >= mine; }, "a message box");
}

ModalInput SimHost::onlyInput() {
  std::vector<Hwnd> forms;
  for (const Form& f : forms_) forms.push_back(f.hwnd);
  // The flag itself, not EnableWindow: that is a client operation's call and reaches
  // nothing once the operation has given up on the client.
  return ModalInput(forms, {[this](Hwnd w) { return takesInput(w); },
                            [this](Hwnd w, bool on) {
                              if (SimWindow* window = desktop_.window(w)) window->enabled = on;
                            }});
}

bool SimHost::takesInput(Hwnd hwnd) {
  const SimWindow* w = desktop_.window(hwnd);
  return w && w->enabled;
}

void SimHost::endProgram() {
  ended_ = true;
  closeMenu();
  throw ProgramEnded{};
}

void SimHost::closeMenu() {
  if (!openMenu_) return;
  openMenu_ = nullptr;
  core_.menuClosed(clock_.nowUs());
}

void SimHost::dismissMenu() {
  input();
  closeMenu();
}

// ---- person ----

void SimHost::click(Hwnd hwnd, std::string_view name) {
  input();
  if (!takesInput(hwnd)) return;
  asEvent([&] {
    Form* f = form(hwnd);
    if (!f) return;
    Handler handler = f->layout.onClick;
    if (!name.empty()) {
      const ControlSpec* c = control(*f, name);
      handler = c ? c->onClick : Handler();
    }
    if (handler) handler();
  });
}

void SimHost::mouseDown(Hwnd hwnd, std::string_view name) {
  input();
  if (!takesInput(hwnd)) return;
  asEvent([&] {
    Form* f = form(hwnd);
    if (!f) return;
    Handler handler = f->layout.onMouseDown;
    if (!name.empty()) {
      const ControlSpec* c = control(*f, name);
      handler = c ? c->onMouseDown : Handler();
    }
    if (handler) handler();
  });
}

void SimHost::clickAt(Hwnd hwnd, int x, int y) {
  input();
  if (!takesInput(hwnd)) return;
  Form* f = form(hwnd);
  if (!f) return;
  const FormSpec layout = f->layout;  // the handlers may add forms
  SkinPointer pointer(layout);
  const int dragsBefore = desktop_.window(hwnd) ? desktop_.window(hwnd)->drags : 0;
  const Handler press = pointer.press(true, x, y);
  asEvent([&] {
    if (press) press();
  });
  // A press that dragged the window ends in the window system's move loop, which
  // takes the button's release.
  if (ended_ || (desktop_.window(hwnd) && desktop_.window(hwnd)->drags != dragsBefore)) return;
  const Handler click = pointer.release(x, y);
  asEvent([&] {
    if (click) click();
  });
}

void SimHost::closeFromOutside(Hwnd hwnd) {
  input();
  asEvent([&] { desktop_.SendMessageA(hwnd, WM_CLOSE, 0, 0); });
}

void SimHost::restoreFromTaskbar(Hwnd hwnd) {
  input();
  asEvent([&] { restoreForm(hwnd); });
}

void SimHost::type(Hwnd hwnd, std::string_view name, std::string_view text) {
  input();
  if (!takesInput(hwnd)) return;
  setControlText(hwnd, name, text);
}

bool SimHost::choose(std::string_view name) {
  if (!openMenu_ || ended_) return false;
  const MenuItem* item = FindItem(*openMenu_, name);
  if (!item || item->isSeparator() || !item->children.empty()) return false;
  input();
  Handler handler = item->onClick;
  closeMenu();
  // The command runs first; a tick the menu held back starts in its first pause, or
  // once it has returned.
  if (handler) asEvent(handler);
  return true;
}

void SimHost::answerPrompt(std::optional<std::string> answer) {
  answers_.push_back(std::move(answer));
}

void SimHost::dismissMessageBox() {
  input();
  ++boxesDismissed_;
}

}  // namespace loafix::sim
