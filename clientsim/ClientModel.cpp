#include "clientsim/ClientModel.h"

#include <algorithm>
#include <array>
#include <memory>

#include "clientsim/Hex.h"

namespace loafix::clientsim {
namespace {

constexpr std::uint32_t kSetText = 0x000C;
constexpr std::uint32_t kEnable = 0x000A;
constexpr std::uint32_t kClose = 0x0010;
constexpr std::uint32_t kShowWindow = 0x0018;
constexpr std::uint32_t kKeyDown = 0x0100;
constexpr std::uint32_t kKeyUp = 0x0101;
constexpr std::uint32_t kChar = 0x0102;
constexpr std::uint32_t kButtonDown = 0x0201;
constexpr std::uint32_t kButtonUp = 0x0202;
constexpr std::uintptr_t kSpaceKey = 0x20;

constexpr std::string_view kImKeyword = "aol://9293:";
constexpr std::string_view kImCaption = "Send Instant Message";

// The instant-message window's icons; the ninth sends.
constexpr std::array<std::string_view, 10> kImIcons = {
    "Text Color", "Background Color", "Bold",   "Italic", "Underline",
    "Smaller",    "Normal",           "Larger", "Send",   "Available?"};
constexpr std::size_t kImSendIndex = 8;

// The mail window's icons; the sixteenth sends.
constexpr std::array<std::string_view, 18> kMailIcons = {
    "Send Later", "Attachments", "Address Book", "Signature", "Spell Check", "Text Color",
    "Background", "Bold",        "Italic",       "Underline", "Left",        "Center",
    "Right",      "Smaller",     "Larger",       "Send",      "Receipt",     "Help"};
constexpr std::size_t kMailSendIndex = 15;
constexpr std::array<std::string_view, 3> kMailLabels = {"Send To:", "Copy To:", "Subject:"};

template <std::size_t N>
std::string IconName(const std::array<std::string_view, N>& names, std::size_t i) {
  return i < N ? std::string(names[i]) : "Icon " + std::to_string(i + 1);
}

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return std::string(text);
}

char Lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Screen names compare in any letter case and without blanks, as the service does.
std::string Normalized(std::string_view screenName) {
  std::string out;
  for (char c : screenName)
    if (c != ' ') out += Lower(c);
  return out;
}

bool StartsWithIgnoreCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i)
    if (Lower(text[i]) != Lower(prefix[i])) return false;
  return true;
}

}  // namespace

ClientModel::ClientModel(ClientSurface& surface) : surface_(surface) {}

Wnd ClientModel::make(Wnd parent, std::string_view className, std::string_view caption,
                      bool onTop) {
  const Wnd window = surface_.create(parent, className, caption, onTop);
  classes_[window] = className;
  return window;
}

void ClientModel::start(std::string_view screenName) {
  screenName_ = screenName;
  frameEnabled_ = frameVisible_ = true;
  frame_ = make(0, "AOL Frame25", "America  Online");
  toolbarHost_ = make(frame_, "AOL Toolbar", "");
  toolbar_ = make(toolbarHost_, "_AOL_Toolbar", "");
  // Icons of the toolbar: the second one is Write.
  for (const char* name : {"Read", "Write", "Mail Center", "Print", "My Files"}) {
    const Wnd icon = make(toolbar_, "_AOL_Icon", name);
    if (std::string_view(name) == "Write") writeIcon_ = icon;
  }
  combo_ = make(toolbar_, "_AOL_Combobox", "");
  keywordBox_ = make(combo_, "Edit", "");
  mdi_ = make(frame_, "MDIClient", "");
  record("start");
  if (options.mailDraftAtStart) openMailWindow("Write Mail", true);
  if (options.modalAtStart) raiseModal();
  if (options.messageBoxAtStart) showMessageBox("You have no new mail.");
}

ChatRoom& ClientModel::openRoom(std::string_view name, bool onTop) {
  ChatRoom room;
  room.name = name;
  room.window = make(mdi_, "AOL Child", name, onTop);
  room.transcriptBox = make(room.window, "RICHCNTL", "");
  room.people = make(room.window, "_AOL_Listbox", "");
  room.inputBox = make(room.window, "RICHCNTL", "");
  make(room.window, "_AOL_Icon", "Send");
  make(room.window, "_AOL_Static", "people here");
  rooms_.push_back(std::move(room));
  record("room open " + Hex(name));
  surface_.changed();
  return rooms_.back();
}

void ClientModel::closeRoom(Wnd window) {
  if (surface_.exists(window)) surface_.destroy(window);
  onDestroyed(window);
}

void ClientModel::quit() {
  if (alive(frame_)) surface_.destroy(frame_);
  for (const Box& box : std::vector<Box>(boxes_))
    if (alive(box.window)) surface_.destroy(box.window);
  rooms_.clear();
  imWindows_.clear();
  mailWindows_.clear();
  boxes_.clear();
  classes_.clear();
  frame_ = mdi_ = toolbarHost_ = toolbar_ = combo_ = keywordBox_ = writeIcon_ = modal_ = 0;
  pressed_ = spaceDown_ = 0;
  record("quit");
}

Wnd ClientModel::raiseModal() {
  if (modal_ != 0 || !alive(frame_)) return modal_;
  modal_ = make(frame_, "_AOL_MODAL", "Preferences");
  make(modal_, "_AOL_Static", "Set your preferences, then choose OK.");
  make(modal_, "_AOL_Icon", "OK");
  modalEnabled_ = modalVisible_ = true;
  // The frame takes no input while its modal window is up; known first, so the
  // WM_ENABLE this causes is not logged as someone else's doing.
  frameEnabled_ = false;
  surface_.setEnabled(frame_, false);
  record("modal up");
  surface_.changed();
  return modal_;
}

void ClientModel::dropModal() {
  if (modal_ == 0) return;
  const Wnd modal = modal_;
  modal_ = 0;
  if (alive(modal)) surface_.destroy(modal);
  onDestroyed(modal);
  if (alive(frame_)) {
    frameEnabled_ = true;
    surface_.setEnabled(frame_, true);
  }
  record("modal down");
  surface_.changed();
}

Wnd ClientModel::showMessageBox(std::string_view text) {
  Box box;
  box.window = make(0, "#32770", "America Online", true);
  box.button = make(box.window, "Button", "OK");
  make(box.window, "Static", text);
  boxes_.push_back(box);
  record("box " + Hex(text));
  surface_.changed();
  return box.window;
}

Wnd ClientModel::openMailWindow(std::string_view caption, bool onTop) {
  return openMailWindow(caption, onTop, 0);
}

Wnd ClientModel::openMailWindow(std::string_view caption, bool onTop, int childGapMs) {
  if (!alive(mdi_)) return 0;
  MailWindow mail;
  mail.window = make(mdi_, "AOL Child", caption, onTop);
  const Wnd window = mail.window;
  mailWindows_.push_back(std::move(mail));
  Steps steps;
  for (int i = 0; i < options.mailEditCount; ++i) {
    const auto index = static_cast<std::size_t>(i);
    steps.push_back([this, window, index] {
      make(window, "_AOL_Static", index < kMailLabels.size() ? kMailLabels[index] : "Field:");
    });
    steps.push_back(
        [this, window] { mailWindow(window)->edits.push_back(make(window, "_AOL_Edit", "")); });
  }
  const int late = options.mailRichLateMs;
  if (late <= 0)
    steps.push_back([this, window] { mailWindow(window)->bodyBox = make(window, "RICHCNTL", ""); });
  for (int i = 0; i < options.mailIconCount; ++i) {
    const auto index = static_cast<std::size_t>(i);
    steps.push_back([this, window, index] {
      const Wnd icon = make(window, "_AOL_Icon", IconName(kMailIcons, index));
      if (index == kMailSendIndex) mailWindow(window)->sendButton = icon;
    });
  }
  steps.push_back([this, window, caption = std::string(caption), late] {
    if (late > 0) {
      surface_.after(late, [this, window] {
        if (alive(window)) mailWindow(window)->bodyBox = make(window, "RICHCNTL", "");
      });
    }
    record("mail open " + Hex(caption));
    surface_.changed();
  });
  buildInSteps(window, std::make_shared<const Steps>(std::move(steps)), 0, childGapMs);
  return window;
}

void ClientModel::buildInSteps(Wnd window,
                               std::shared_ptr<const std::vector<std::function<void()>>> steps,
                               std::size_t next, int gapMs) {
  for (; next < steps->size(); ++next) {
    if (!alive(window)) return;
    (*steps)[next]();
    if (gapMs > 0 && next + 1 < steps->size()) {
      // The next step is an event of its own: whatever else the client has to do runs first.
      surface_.after(gapMs, [this, window, steps, next, gapMs] {
        buildInSteps(window, steps, next + 1, gapMs);
      });
      return;
    }
  }
}

ClientModel::ImWindow* ClientModel::imWindow(Wnd window) {
  for (ImWindow& im : imWindows_)
    if (im.window == window) return &im;
  return nullptr;
}

ClientModel::MailWindow* ClientModel::mailWindow(Wnd window) {
  for (MailWindow& m : mailWindows_)
    if (m.window == window) return &m;
  return nullptr;
}

std::vector<Wnd> ClientModel::imWindows() const {
  std::vector<Wnd> out;
  for (const ImWindow& im : imWindows_) out.push_back(im.window);
  return out;
}

std::vector<Wnd> ClientModel::mailWindows() const {
  std::vector<Wnd> out;
  for (const MailWindow& m : mailWindows_) out.push_back(m.window);
  return out;
}

ChatRoom* ClientModel::room(Wnd window) {
  auto it = std::find_if(rooms_.begin(), rooms_.end(),
                         [window](const ChatRoom& r) { return r.window == window; });
  return it == rooms_.end() ? nullptr : &*it;
}

void ClientModel::onDestroyed(Wnd window) {
  classes_.erase(window);
  if (pressed_ == window) pressed_ = 0;
  if (spaceDown_ == window) spaceDown_ = 0;
  if (modal_ == window) modal_ = 0;
  std::erase_if(imWindows_, [window](const ImWindow& im) { return im.window == window; });
  std::erase_if(mailWindows_, [window](const MailWindow& m) { return m.window == window; });
  std::erase_if(boxes_, [window](const Box& b) { return b.window == window; });
  auto it = std::find_if(rooms_.begin(), rooms_.end(),
                         [window](const ChatRoom& r) { return r.window == window; });
  if (it != rooms_.end()) {
    record("room closed " + Hex(it->name));
    rooms_.erase(it);
    surface_.changed();
  }
}

// ---- reactions ----

void ClientModel::closeLater(Wnd window) {
  // Closed from the client's own loop, not from inside the click that asked for it:
  // the click is still being handled by a child of the window.
  surface_.after(0, [this, window] {
    if (!alive(window)) return;
    surface_.destroy(window);
    onDestroyed(window);
    surface_.changed();
  });
}

void ClientModel::onKeyword(std::string keyword) {
  record("keyword " + Hex(keyword));
  keywords_.push_back(keyword);
  if (!StartsWithIgnoreCase(keyword, kImKeyword)) return;
  const std::string screenName = keyword.substr(kImKeyword.size());
  if (options.imNeverOpens) return;
  if (options.imOpenDelayMs <= 0) {
    openImWindow(screenName, 0);
    return;
  }
  surface_.after(options.imOpenDelayMs, [this, screenName] {
    if (alive(mdi_)) openImWindow(screenName, options.lateChildGapMs);
  });
}

void ClientModel::openImWindow(const std::string& screenName, int childGapMs) {
  ImWindow im;
  im.window = make(mdi_, "AOL Child", kImCaption, true);
  const Wnd window = im.window;
  imWindows_.push_back(im);
  Steps steps;
  steps.push_back([this, window] { make(window, "_AOL_Static", "To:"); });
  steps.push_back([this, window, screenName] {
    imWindow(window)->toBox = make(window, "_AOL_Edit", screenName);
  });
  const int late = options.imRichLateMs;
  if (late <= 0)
    steps.push_back([this, window] { imWindow(window)->textBox = make(window, "RICHCNTL", ""); });
  for (int i = 0; i < options.imIconCount; ++i) {
    const auto index = static_cast<std::size_t>(i);
    steps.push_back([this, window, index] {
      const Wnd icon = make(window, "_AOL_Icon", IconName(kImIcons, index));
      if (index == kImSendIndex) imWindow(window)->sendButton = icon;
    });
  }
  steps.push_back([this, window, screenName, late] {
    if (late > 0) {
      surface_.after(late, [this, window] {
        if (alive(window)) imWindow(window)->textBox = make(window, "RICHCNTL", "");
      });
    }
    record("im open " + Hex(screenName));
    surface_.changed();
  });
  buildInSteps(window, std::make_shared<const Steps>(std::move(steps)), 0, childGapMs);
}

void ClientModel::onImSend(const ImWindow& im) {
  const std::string screenName = surface_.text(im.toBox);
  const std::string text = im.textBox ? surface_.text(im.textBox) : std::string();
  record("im " + Hex(screenName) + " " + Hex(text));
  ims_.push_back(SentIm{screenName, text});
  const std::string who = Normalized(screenName);
  if (who == "$im_off" || who == "$im_on") {
    imsOn_ = who == "$im_on";
    record(imsOn_ ? "ims on" : "ims off");
    closeLater(im.window);
    return;
  }
  const bool online = std::any_of(options.online.begin(), options.online.end(),
                                  [&](const std::string& sn) { return Normalized(sn) == who; });
  if (online) {
    closeLater(im.window);
    return;
  }
  // The service answers a while later; the IM window stays open under the box.
  const Wnd window = im.window;
  surface_.after(options.offlineReplyMs, [this, window, screenName] {
    if (alive(window)) showMessageBox(screenName + " is not currently signed on.");
  });
}

void ClientModel::openMailWindowFromWrite() {
  if (options.mailNeverOpens) return;
  const std::string caption = options.mailCaption;
  if (options.mailOpenDelayMs <= 0) {
    openMailWindow(caption, true);
    return;
  }
  surface_.after(options.mailOpenDelayMs,
                 [this, caption] { openMailWindow(caption, true, options.lateChildGapMs); });
}

void ClientModel::onMailSend(const MailWindow& mail) {
  SentMail sent;
  if (mail.edits.size() >= 1) sent.to = surface_.text(mail.edits[0]);
  if (mail.edits.size() >= 3) sent.subject = surface_.text(mail.edits[2]);
  if (mail.bodyBox) sent.body = surface_.text(mail.bodyBox);
  record("mail " + Hex(sent.to) + " " + Hex(sent.subject) + " " + Hex(sent.body));
  mails_.push_back(std::move(sent));
  if (!options.mailStaysOpen) closeLater(mail.window);
}

void ClientModel::onClick(Wnd icon) {
  record("click " + Hex(surface_.text(icon)));
  if (icon == writeIcon_) {
    openMailWindowFromWrite();
    return;
  }
  for (const ImWindow& im : imWindows_) {
    if (im.sendButton == icon) {
      onImSend(ImWindow(im));
      return;
    }
  }
  for (const MailWindow& m : mailWindows_) {
    if (m.sendButton == icon) {
      onMailSend(MailWindow(m));
      return;
    }
  }
}

void ClientModel::noteState(Wnd window, const char* what, bool on, bool& known) {
  if (on == known) return;
  known = on;
  record(std::string(what) + " " + classes_[window] + (on ? " 1" : " 0"));
}

std::optional<std::intptr_t> ClientModel::onMessage(Wnd window, std::uint32_t message,
                                                    std::uintptr_t wParam, std::intptr_t,
                                                    std::string_view) {
  if (window == 0) return std::nullopt;
  if ((message == kEnable || message == kShowWindow) && (window == frame_ || window == modal_)) {
    const bool on = wParam != 0;
    const bool isFrame = window == frame_;
    if (message == kEnable)
      noteState(window, "enable", on, isFrame ? frameEnabled_ : modalEnabled_);
    else
      noteState(window, "visible", on, isFrame ? frameVisible_ : modalVisible_);
    return std::nullopt;
  }

  if (window == keywordBox_ && message == kChar) {
    if (wParam == 13) {
      // Enter opens what the box holds, blanks around it ignored, and empties the box.
      std::string keyword = Trim(surface_.text(keywordBox_));
      surface_.setText(keywordBox_, "");
      onKeyword(std::move(keyword));
    } else if (wParam >= 32 && wParam < 256) {
      surface_.setText(keywordBox_, surface_.text(keywordBox_) + static_cast<char>(wParam));
    }
    return 0;
  }

  for (ChatRoom& r : rooms_) {
    if (window != r.inputBox) continue;
    if (message == kChar && wParam == 13) {
      // Enter posts what the box holds into the room and empties the box.
      std::string line = surface_.text(r.inputBox);
      surface_.setText(r.inputBox, "");
      record("enter " + Hex(r.name));
      if (!line.empty()) {
        record("chat " + Hex(line));
        if (options.keepHistory) {
          r.lines.push_back(line);
          received_.push_back(std::move(line));
        }
        surface_.changed();
      }
      return 0;
    }
    if (message == kSetText) return std::nullopt;
  }

  auto cls = classes_.find(window);
  if (cls == classes_.end()) return std::nullopt;
  const std::string& className = cls->second;

  if (className == "_AOL_Icon") {
    // A click is a button-down followed by a button-up on the same icon.
    if (message == kButtonDown) {
      pressed_ = window;
      return 0;
    }
    if (message == kButtonUp) {
      if (pressed_ != window) return 0;
      pressed_ = 0;
      onClick(window);
      return 0;
    }
  }

  if (className == "Button" && (message == kKeyDown || message == kKeyUp) && wParam == kSpaceKey) {
    // The space bar presses a button on its way up, as a real push button does.
    if (message == kKeyDown) {
      spaceDown_ = window;
      return 0;
    }
    if (spaceDown_ != window) return 0;
    spaceDown_ = 0;
    for (const Box& box : boxes_) {
      if (box.button != window) continue;
      const Wnd boxWindow = box.window;
      record("box dismissed");
      closeLater(boxWindow);
      break;
    }
    return 0;
  }

  if (message == kClose) record("close " + Hex(surface_.text(window)));
  return std::nullopt;
}

void ClientModel::record(std::string line) {
  if (onLog) onLog(line);
  if (options.keepHistory) log_.push_back(std::move(line));
}

}  // namespace loafix::clientsim
