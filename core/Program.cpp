#include "core/Program.h"

#include <cassert>
#include <vector>

namespace loafix {
namespace {

// The box that tells the person which of a command's settings could not be saved, and,
// when others of the same command were, which: the file then holds those.
inline constexpr std::string_view kUnsavedTitle = "loafix";
inline constexpr std::string_view kUnsavedText = "could not save ";
inline constexpr std::string_view kUnsavedIn = " in ";
inline constexpr std::string_view kUnsavedWhy =
    ": the file is read-only, held open by another program or cannot be created, or the "
    "disk is full.";
inline constexpr std::string_view kNothingChanged = " nothing in it was changed.";
inline constexpr std::string_view kSavedOne = " was saved; ";
inline constexpr std::string_view kSavedMany = " were saved; ";
inline constexpr std::string_view kKeptOne = " keeps its old value.";
inline constexpr std::string_view kKeptMany = " keep their old values.";

// "a", "a" and "b", "a", "b" and "c".
std::string Names(const std::vector<std::string_view>& keys) {
  std::string names;
  for (std::size_t i = 0; i < keys.size(); ++i) {
    if (i > 0) names += i + 1 == keys.size() ? " and " : ", ";
    names.append("\"").append(keys[i]).append("\"");
  }
  return names;
}

// The box, once per run, when the client refused the program's messages: under the
// privilege isolation of current Windows a program may not drive one started with
// more rights, and nothing else would ever say why no line arrives.
inline constexpr std::string_view kRefusedTitle = "loafix";
inline constexpr std::string_view kRefusedText =
    "the chat client refused loafix's messages: it runs as administrator and loafix does "
    "not (or the other way round), so no line, keyword or click reaches it. start loafix "
    "the same way as the chat client: both as administrator, or neither.";
// A room caption longer than this would not fit the tooltip's one line anyway.
inline constexpr int kRoomCaptionMax = 100;

MenuItem* Find(MenuItem& menu, std::string_view name) {
  if (menu.name == name) return &menu;
  for (MenuItem& child : menu.children)
    if (MenuItem* found = Find(child, name)) return found;
  return nullptr;
}

// Form3 holds the menu tree and the timers; it is never shown.
FormSpec MenuHolderSpec() {
  return FormSpec{.name = "Form3", .caption = "Form3", .placement = Placement::Default};
}

}  // namespace

Program::Program(WindowSystem& windows, Host& runtime, Settings& store,
                 const ProgramParts& parts)
    : ws(windows), host(runtime), settings(store), parts_(parts) {
  ws.onChatLine = [this](Hwnd room, ClientStop stop) {
    lastLine.at = host.timeOfDay();
    lastLine.stop = stop;
    lastLine.noRoom = room == 0;
    // The caption the window system keeps: read without a message to the client.
    lastLine.room = room != 0 && stop == ClientStop::None ? ws.GetWindowTextA(room, kRoomCaptionMax)
                                                          : std::string();
  };
  ws.onOperationStopped = [this](ClientStop stop) {
    if (stop != ClientStop::Refused || toldOfRefusal_) return;
    toldOfRefusal_ = true;
    host.messageBox(kRefusedText, kRefusedTitle);
  };
}

Program::~Program() {
  ws.onChatLine = nullptr;
  ws.onOperationStopped = nullptr;
}

void Program::start() { host.showForm(Form1()); }

Hwnd Program::load(Hwnd& slot, const FormSpec& layout) {
  slot = host.createForm(layout);
  if (layout.onLoad) layout.onLoad();
  return slot;
}

Hwnd Program::Form1() { return form1_ ? form1_ : load(form1_, parts_.splash(*this)); }
Hwnd Program::Form2() { return form2_ ? form2_ : load(form2_, parts_.mainWindow(*this)); }
Hwnd Program::Form4() { return form4_ ? form4_ : load(form4_, parts_.linkSite(*this)); }
Hwnd Program::Form5() { return form5_ ? form5_ : load(form5_, parts_.feedback(*this)); }

Hwnd Program::Form3() {
  if (form3_ != 0) return form3_;
  // The menu tree and the timers exist before anything can refer to them; both
  // timers start disabled with interval 0.
  file_ = parts_.commandMenu(*this);
  timer1_ = host.createTimer([this] { parts_.idleClockTick(*this); });
  timer2_ = host.createTimer([this] { parts_.idlePosterTick(*this); });
  timer3_ = host.createTimer([this] { parts_.autoIdleTick(*this); });
  return load(form3_, MenuHolderSpec());
}

MenuItem& Program::menu() {
  Form3();
  return file_;
}

MenuItem& Program::item(ItemName name) {
  MenuItem* found = Find(menu(), name.text);
  assert(found && "every item a handler names is in the command menu");
  return *found;
}

TimerId Program::Timer1() {
  Form3();
  return timer1_;
}

TimerId Program::Timer2() {
  Form3();
  return timer2_;
}

TimerId Program::Timer3() {
  Form3();
  return timer3_;
}

std::string Program::read(std::string_view key, std::string_view file) const {
  return settings.GetFromINI(kSection, key, file);
}

void Program::write(std::initializer_list<SettingWrite> writes) {
  std::vector<std::string_view> saved, unsaved;
  std::string path;
  for (const SettingWrite& w : writes) {
    if (settings.WriteToINI(kSection, w.key, w.value, w.file)) {
      saved.push_back(w.key);
      continue;
    }
    unsaved.push_back(w.key);
    path = settings.Resolve(w.file);
  }
  if (unsaved.empty()) return;
  std::string text(kUnsavedText);
  text.append(Names(unsaved)).append(kUnsavedIn).append(path).append(kUnsavedWhy);
  if (saved.empty()) {
    text.append(kNothingChanged);
  } else {
    text.append(" ").append(Names(saved)).append(saved.size() == 1 ? kSavedOne : kSavedMany);
    text.append(Names(unsaved)).append(unsaved.size() == 1 ? kKeptOne : kKeptMany);
  }
  host.messageBox(text, kUnsavedTitle);
}

}  // namespace loafix
