// The settings store's Windows half, run under Wine by the "wine" tests: replacing the file
// with MoveFileExW, the read-only attribute, a file another program holds open, a missing
// folder, and the choice of folder. Prints each broken expectation; exits with their count.
//   store_check_win <fresh folder>
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <iterator>

#include "settings/SettingsFolder.h"
#include "settings/SettingsStore.h"

namespace {

namespace fs = std::filesystem;
using namespace loafix;

int failures = 0;

void Expect(bool ok, const char* what) {
  if (!ok) {
    std::printf("FAILED: %s\n", what);
    ++failures;
  }
}

std::string Slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

int Count(const fs::path& folder) {
  int n = 0;
  for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder)) ++n;
  return n;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) return 100;
  const fs::path folder = argv[1];
  const fs::path file = folder / "loafix.ini";
  SettingsStore store(folder);

  store.WriteToINI(kSection, "interval", "60", kIniUpper);
  store.WriteToINI(kSection, "ascii", "\xC2\xAC", kIniLower);  // replaces the file just made
  Expect(Slurp(file) == "[idle info]\r\nINTERVAL=60\r\nASCII=\xAC\r\n", "first-run file bytes");
  Expect(store.GetFromINI(kSection, "ascii", kIniUpper) == "\xC2\xAC",
         "read through the other spelling");
  Expect(Count(folder) == 1, "no temporary file left");

  const std::string before = Slurp(file);
  SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY);
  store.WriteToINI(kSection, "interval", "30", kIniUpper);
  store.WriteToINI(kSection, "interval", std::nullopt, kIniUpper);
  Expect(Slurp(file) == before, "a read-only file keeps its bytes");
  Expect(Count(folder) == 1, "no temporary file left after a refused write");
  SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_HIDDEN);
  store.WriteToINI(kSection, "interval", "30", kIniUpper);
  Expect(store.GetFromINI(kSection, "interval", kIniLower) == "30", "a hidden file is written");
  Expect((GetFileAttributesW(file.c_str()) & FILE_ATTRIBUTE_HIDDEN) != 0, "and stays hidden");
  SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);

  // Another program holds the file open without sharing: nothing can be read, so nothing
  // is written over it.
  const std::string held = Slurp(file);
  HANDLE h = CreateFileW(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  Expect(h != INVALID_HANDLE_VALUE, "open without sharing");
  store.WriteToINI(kSection, "reason", "lunch", kIniUpper);
  Expect(store.GetFromINI(kSection, "interval", kIniLower).empty(),
         "an unreadable file reads empty");
  CloseHandle(h);
  Expect(Slurp(file) == held, "a file held open keeps its bytes");

  SettingsStore nowhere(folder / "missing");
  nowhere.WriteToINI(kSection, "interval", "60", kIniUpper);
  Expect(!fs::exists(folder / "missing"), "a missing folder stays missing");

  Expect(ChooseSettingsFolder() == fs::path(L"C:\\"), "C:\\ where files can be created there");
  Expect(PickSettingsFolder(L"Q:\\", folder) == folder, "the fallback where there is no drive");
  std::printf("%d failures\n", failures);
  return failures;
}
