// libFuzzer target for the settings file's text layer: any bytes as the file, one read
// or write through it. Beyond "no crash", it checks what the store promises: a read never
// exceeds the limit, a written value reads back as it would from a fresh file, a write
// never changes what any other key or section reads, and writing the same thing twice
// changes nothing the second time. Built and run by scripts/fuzz-settings.sh.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/Text.h"
#include "settings/IniFile.h"

namespace {

using namespace loafix;

void Check(bool ok, const char* what) {
  if (ok) return;
  std::fprintf(stderr, "broken promise: %s\n", what);
  std::abort();
}

const char* const kSections[] = {"idle info", "IDLE INFO", " idle info\t", "other", "", "a]b"};
const char* const kKeys[] = {"AIM SN", "aim sn", "REASON", " x ", "", ";c", "\xC3\xA9"};

// Names the store treats as one: blanks around them and the letter case do not count.
std::string Canonical(const char* name) {
  std::string s = name;
  s.erase(0, s.find_first_not_of(" \t"));
  s.erase(s.find_last_not_of(" \t") + 1);
  return AnsiLower(s);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const char* section = in.PickValueInArray(kSections);
  const char* key = in.PickValueInArray(kKeys);
  const int op = in.ConsumeIntegralInRange(0, 2);  // store, remove, read only
  const std::string value = in.ConsumeRandomLengthString(1000);
  const std::string file = in.ConsumeRemainingBytesAsString();

  Check(Utf8Length(ini::ReadValue(file, section, key)) <= ini::kMaxValueLength, "read limit");
  if (op == 2) return 0;

  const std::optional<std::string_view> written =
      op == 0 ? std::optional<std::string_view>(value) : std::nullopt;
  const std::optional<std::string> changed = ini::WriteValue(file, section, key, written);
  const std::string& after = changed ? *changed : file;

  const std::string fresh =
      written
          ? ini::ReadValue(ini::WriteValue("", section, key, written).value_or(""), section, key)
          : std::string();
  Check(ini::ReadValue(after, section, key) == fresh, "value reads back as from a fresh file");
  Check(!ini::WriteValue(after, section, key, written), "the same write twice changes nothing");

  for (const char* s : kSections) {
    for (const char* k : kKeys) {
      if (Canonical(s) == Canonical(section) && Canonical(k) == Canonical(key)) continue;
      Check(ini::ReadValue(after, s, k) == ini::ReadValue(file, s, k), "other keys unchanged");
    }
  }
  return 0;
}
