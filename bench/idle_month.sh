#!/usr/bin/env bash
# A month of idling on the simulated desktop: interval 60, a reason set, so each
# minute brings a clock tick, a poster tick and two lines (about 43,000 ticks of each
# timer and 86,000 lines in 30 days). Prints real time and peak memory for 1 and 30
# virtual days: the two peaks should be about the same (flat memory).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
bin=${1:-$here/build/native/loafix_headless}
for days in 1 30; do
  echo "== $days virtual day(s)"
  "$bin" --days "$days" --interval 60 --reason lunch --tail 2
done
