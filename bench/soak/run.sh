#!/usr/bin/env bash
# The soak of the running program: bash bench/soak/run.sh [SCALE [PARTS]]
# Builds what it needs and runs bench_soak.exe under Wine in a prefix of its own (SCALE 1:
# 10 000 device events, 1 000 Applies, 1 000 page switches, 300 openings of each dialog; 0.1 a
# tenth; PARTS, some of events,applies,switches,dialogs, runs only those). Wine 8 tells no
# process its handle, GDI or USER counts, so bench_soak counts them its own way (it says how);
# at each of its lines this script adds what Linux tells of the program's Unix process:
# anonymous (private) and resident memory, and its threads.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"
build=${OMBRISK_BUILD_DIR:-build/win}
source scripts/wine-helpers.sh
build_win_tree "$build" bench_soak
prefix=$(mkdir -p "$build" && cd "$build" && pwd)/soak-wineprefix

# The Unix process of this prefix's Ombrisk.exe (other prefixes may run one too).
program_pid() {
  local pid
  for pid in $(pgrep -f 'Ombrisk\.exe' || true); do
    if tr '\0' '\n' 2>/dev/null <"/proc/$pid/environ" | grep -qx "WINEPREFIX=$prefix"; then
      echo "$pid"
      return
    fi
  done
}

status=0
scripts/wine-run.sh --prefix "$prefix" "$build/bench/soak/bench_soak.exe" "${1:-1}" ${2:+"$2"} | while IFS= read -r line; do
  if [[ $line =~ ^(start|[0-9]+%|end) ]] && pid=$(program_pid) && [[ -n $pid ]]; then
    line+=$(awk '/^RssAnon|^VmRSS|^Threads/ {printf "  %s %s", $1, $2}' "/proc/$pid/status")
  fi
  printf '%s\n' "$line"
done || status=$?
exit $status
