#include "tests/program/ProgramFixture.h"

#include <fstream>
#include <random>
#include <sstream>

namespace loafix {
namespace {

std::filesystem::path FreshFolder() {
  std::random_device random;
  auto dir = std::filesystem::temp_directory_path() /
             ("loafix-program-" + std::to_string(random()) + std::to_string(random()));
  std::filesystem::create_directories(dir);
  return dir;
}

}  // namespace

ProgramTest::ProgramTest(const CodePage& codePage)
    : folder(FreshFolder()), desktop(clock, codePage), store(folder.string(), codePage) {
  client.model().start();
  client.model().openRoom("Town Square");
  client.model().onLog = [this](const std::string& line) {
    if (line.rfind("chat ", 0) == 0) times_.push_back(host.now());
  };
}

ProgramTest::~ProgramTest() {
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
}

void ProgramTest::startUp() {
  program.start();
  host.click(program.Form1(), "");
}

void ProgramTest::choose(std::string_view item) {
  host.click(program.Form2(), "Label6");
  ASSERT_TRUE(host.choose(item)) << item;
}

void ProgramTest::chooseLater(double seconds, std::string item) {
  host.after(seconds, [this, item] {
    host.click(program.Form2(), "Label6");
    EXPECT_TRUE(host.choose(item)) << item;
  });
}

std::vector<std::string> ProgramTest::newLines() {
  const auto all = client.receivedUtf8();
  std::vector<std::string> fresh(all.begin() + static_cast<std::ptrdiff_t>(taken_), all.end());
  taken_ = all.size();
  return fresh;
}

std::string ProgramTest::counters() {
  const Hwnd strip = program.Form2();
  return host.controlText(strip, "Label2") + ":" + host.controlText(strip, "Label3") + ":" +
         host.controlText(strip, "Label4");
}

std::string ProgramTest::fileBytes() {
  std::ifstream in(store.Resolve(kIniUpper), std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

void ProgramTest::writeFile(const std::string& bytes) {
  std::ofstream out(store.Resolve(kIniUpper), std::ios::binary);
  out << bytes;
}

}  // namespace loafix
