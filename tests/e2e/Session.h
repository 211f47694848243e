// One run of the two programs on the test desktop: the stand-in client with its chat
// room (or none), loafix with a fresh settings file, and the person in front of them.
// Both processes end with the session, whatever happened.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "tests/e2e/ClientLog.h"
#include "tests/e2e/Person.h"
#include "tests/wine/WineTest.h"

namespace loafix::e2e {

// The settings file as a person finds it on drive C:.
inline constexpr char kSettingsFile[] = "C:\\loafix.ini";
// Where the program keeps it when it may not write that one.
std::string AppDataSettingsFile();
// A settings file's bytes; empty when it does not exist.
std::string SettingsBytes(const std::string& path = kSettingsFile);

class Session {
 public:
  // `withClient`: start the stand-in client (and wait for its chat room) first.
  // `beforeStart`: what the person's machine holds before loafix starts (the settings
  // files are gone before it runs).
  explicit Session(bool withClient = true, const std::function<void()>& beforeStart = nullptr);
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  // False when a program did not come up; the case cannot go on.
  bool ready() const { return ready_; }

  winetest::Process& program() { return *program_; }
  const Person& person() const { return person_; }
  ClientLog& log() { return log_; }
  bool hasClient() const { return client_ != nullptr; }

  // Starts the client now (a session begun without one); true once its room is open.
  bool startClient();
  // Ends the client's process.
  void endClient();
  // The client's main window, or nullptr.
  HWND clientFrame() const;
  // Presses a button of the client's scenario panel ("Raise a modal window"), as the
  // client's user would; true once the client has taken the press.
  bool pressClientButton(std::string_view caption);

 private:
  winetest::TempFile logFile_;
  ClientLog log_;
  std::unique_ptr<winetest::Process> client_;
  std::unique_ptr<winetest::Process> program_;
  Person person_;
  bool ready_ = false;
};

}  // namespace loafix::e2e
