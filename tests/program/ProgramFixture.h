// The whole program on the simulated desktop with the stand-in client and a fresh
// settings folder; the test acts as the person in front of it.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/sim/SimClient.h"
#include "platform/sim/SimHost.h"
#include "settings/SettingsStore.h"
#include "idle/IdleCommands.h"
#include "ui/UiCommands.h"

namespace loafix {

class ProgramTest : public ::testing::Test {
 protected:
  // The desktop's ANSI code page (1252 unless a test picks another) is the store's too.
  explicit ProgramTest(const CodePage& codePage = Windows1252());
  ~ProgramTest() override;

  // Starts the program and clicks the splash; returns after the advertisement.
  void startUp();
  // Opens the command menu on the strip and chooses the item.
  void choose(std::string_view item);
  // The same, as a scheduled action `seconds` from now.
  void chooseLater(double seconds, std::string item);
  // Lines the room received since the last call, as UTF-8.
  std::vector<std::string> newLines();
  // When each line the room received arrived (now()), in order.
  const std::vector<double>& times() const { return times_; }
  std::string counters();  // "d:h:m" as the strip shows them
  std::string fileBytes();
  void writeFile(const std::string& bytes);
  std::string setting(std::string_view key) { return store.GetFromINI(kSection, key, kIniUpper); }
  bool checked(std::string_view item) { return program.checked(ItemName(item)); }

  std::filesystem::path folder;
  sim::SimClock clock{10 * 3600.0};
  sim::SimDesktop desktop;
  sim::SimHost host{clock, desktop};
  sim::SimClient client{clock, desktop};
  SettingsStore store;
  Program program{desktop, host, store, LoafixParts()};

 private:
  std::size_t taken_ = 0;
  std::vector<double> times_;
};

}  // namespace loafix
