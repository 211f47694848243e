#!/bin/sh
# Builds the settings file parser's libFuzzer target with clang and runs it.
#   scripts/fuzz-settings.sh [seconds] [more libFuzzer options]
# The corpus and any crash files stay in build/fuzz (LOAFIX_FUZZ_DIR to move it). Runs one
# job at low priority: the build machines are shared.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
out=${LOAFIX_FUZZ_DIR:-$root/build/fuzz}
seconds=${1:-600}
[ $# -gt 0 ] && shift

mkdir -p "$out/corpus" "$out/crashes"
clang++ -std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
  -I"$root" "$root/tests/settings/IniFuzzer.cpp" "$root/settings/IniFile.cpp" \
  "$root/core/Text.cpp" -o "$out/ini_fuzzer"

# A few real-looking files to start from; the fuzzer's first bytes pick the operation.
if [ -z "$(ls -A "$out/corpus")" ]; then
  printf 'aaaa[idle info]\r\nINTERVAL=60\r\nASCII=\254\r\n' >"$out/corpus/first-run"
  printf 'aaaa; mine\n[other]\nX=1\n\n  [ Idle Info ] ; note\n  aim sn  =  "x"  \nAIM SN=2' \
    >"$out/corpus/hand-edited"
  printf 'aaaa\357\273\277[idle info]\r\nREASON=caf\303\251\r\n' >"$out/corpus/utf8"
  printf 'aaaa\377\376[\000x\000]\000\r\000\n\000A\000=\0001\000' >"$out/corpus/utf16"
fi

cd "$out"
exec nice -n 10 "$out/ini_fuzzer" -max_total_time="$seconds" -jobs=1 -workers=1 \
  -max_len=65536 -rss_limit_mb=2048 -artifact_prefix="$out/crashes/" -print_final_stats=1 \
  "$@" "$out/corpus"
