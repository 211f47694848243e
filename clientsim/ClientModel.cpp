#include "clientsim/ClientModel.h"

#include <algorithm>

namespace loafix::clientsim {
namespace {

constexpr std::uint32_t kSetText = 0x000C;
constexpr std::uint32_t kChar = 0x0102;

}  // namespace

std::string Hex(std::string_view bytes) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string out;
  out.reserve(bytes.size() * 2);
  for (unsigned char b : bytes) {
    out += kDigits[b >> 4];
    out += kDigits[b & 0xF];
  }
  return out;
}

ClientModel::ClientModel(ClientSurface& surface) : surface_(surface) {}

void ClientModel::start(std::string_view screenName) {
  screenName_ = screenName;
  frame_ = surface_.create(0, "AOL Frame25", "America  Online");
  toolbarHost_ = surface_.create(frame_, "AOL Toolbar", "");
  toolbar_ = surface_.create(toolbarHost_, "_AOL_Toolbar", "");
  // Icons of the toolbar: the second one is Write.
  for (const char* name : {"Read", "Write", "Mail Center", "Print", "My Files"})
    surface_.create(toolbar_, "_AOL_Icon", name);
  combo_ = surface_.create(toolbar_, "_AOL_Combobox", "");
  keywordBox_ = surface_.create(combo_, "Edit", "");
  mdi_ = surface_.create(frame_, "MDIClient", "");
  record("start");
}

ChatRoom& ClientModel::openRoom(std::string_view name, bool onTop) {
  ChatRoom room;
  room.name = name;
  room.window = surface_.create(mdi_, "AOL Child", name, onTop);
  room.transcriptBox = surface_.create(room.window, "RICHCNTL", "");
  room.people = surface_.create(room.window, "_AOL_Listbox", "");
  room.inputBox = surface_.create(room.window, "RICHCNTL", "");
  surface_.create(room.window, "_AOL_Icon", "Send");
  surface_.create(room.window, "_AOL_Static", "people here");
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
  if (frame_ != 0 && surface_.exists(frame_)) surface_.destroy(frame_);
  rooms_.clear();
  frame_ = mdi_ = toolbarHost_ = toolbar_ = combo_ = keywordBox_ = 0;
  record("quit");
}

ChatRoom* ClientModel::room(Wnd window) {
  auto it = std::find_if(rooms_.begin(), rooms_.end(),
                         [window](const ChatRoom& r) { return r.window == window; });
  return it == rooms_.end() ? nullptr : &*it;
}

void ClientModel::onDestroyed(Wnd window) {
  auto it = std::find_if(rooms_.begin(), rooms_.end(),
                         [window](const ChatRoom& r) { return r.window == window; });
  if (it != rooms_.end()) {
    record("room closed " + Hex(it->name));
    rooms_.erase(it);
    surface_.changed();
  }
}

std::optional<std::intptr_t> ClientModel::onMessage(Wnd window, std::uint32_t message,
                                                    std::uintptr_t wParam, std::intptr_t,
                                                    std::string_view) {
  for (ChatRoom& r : rooms_) {
    if (window != r.inputBox) continue;
    if (message == kChar && wParam == 13) {
      // Enter posts what the box holds into the room and empties the box.
      std::string line = surface_.text(r.inputBox);
      surface_.setText(r.inputBox, "");
      record("enter " + Hex(r.name));
      if (!line.empty()) {
        record("chat " + Hex(line));
        r.lines.push_back(line);
        received_.push_back(std::move(line));
        surface_.changed();
      }
      return 0;
    }
    if (message == kSetText) return std::nullopt;
  }
  return std::nullopt;
}

void ClientModel::record(std::string line) {
  if (onLog) onLog(line);
  log_.push_back(std::move(line));
}

}  // namespace loafix::clientsim
