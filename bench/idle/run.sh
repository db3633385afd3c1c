#!/usr/bin/env bash
# The idle benchmark: how much CPU Ombrisk.exe uses while it sits in the tray with the
# virtual mouse plugged in and nothing happens, next to Wine's own notepad in the same prefix
# over the same time. Prints both CPU times and their ratio (Ombrisk.exe / notepad).
#
#   bash bench/idle/run.sh [SECONDS]      (default 60)
#
# Builds what it needs in the Win32 tree (build/win, or OMBRISK_BUILD_DIR) and runs in a
# Wine prefix of its own (build/win/bench-idle/prefix), on $DISPLAY or on an Xvfb it starts.
# It stops only what it started, by process id.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"

seconds=${1:-60}
[[ $seconds =~ ^[1-9][0-9]*$ ]] || { echo "idle: SECONDS must be a whole number above 0" >&2; exit 2; }
settle_seconds=10  # start-up, handshake, tray icon and balloon before the measure

bash scripts/setup.sh
build=$(realpath -m "${OMBRISK_BUILD_DIR:-build/win}")
cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake >/dev/null
cmake --build "$build" -j 2 --target Ombrisk install_folder vmouse

work=$build/bench-idle
prefix=$work/prefix
run_dir=$work/run
mkdir -p "$work"
rm -rf "$run_dir"
cp -r "$build/Ombrisk" "$run_dir"

WINE=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver
source scripts/wine-helpers.sh
# The prefix gets the project's fonts and virtual desktop once, as the tests' prefix does.
scripts/wine-run.sh --prefix "$prefix" cmd /c exit 0 >/dev/null 2>&1 || true
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=

started=()
cleanup() {
  local pid i
  # Last started first: the programs before vmouse, the display last.
  for ((i = ${#started[@]} - 1; i >= 0; i--)); do
    pid=${started[i]}
    kill "$pid" 2>/dev/null || true
    for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -9 "$pid" 2>/dev/null || true
  done
  # With its programs gone, the prefix's wineserver ends by itself.
  timeout 30 "$WINESERVER" -w 2>/dev/null || true
}
trap cleanup EXIT
trap 'exit 130' INT TERM

if [[ -z ${DISPLAY:-} ]]; then
  start_own_xvfb || { kill "$xvfb_pid" 2>/dev/null; echo "idle: Xvfb did not start" >&2; exit 1; }
  started+=("$xvfb_pid")
fi

# The Linux process of the Windows program NAME (e.g. notepad.exe) in this prefix: Wine
# runs each program as a process of its own, its command line beginning with the program.
wine_pid() {
  local name=${1,,} file pid program
  for file in $(grep -lzx "WINEPREFIX=$prefix" /proc/[0-9]*/environ 2>/dev/null); do
    pid=${file#/proc/}
    pid=${pid%/environ}
    program=$(tr '\0' '\n' 2>/dev/null <"/proc/$pid/cmdline" | head -n1 | tr '\\' /) || continue
    program=${program%% *}
    program=${program##*/}
    program=${program,,}
    if [[ $program == "$name" || $program.exe == "$name" ]]; then
      echo "$pid"
      return 0
    fi
  done
  return 1
}

# CPU time of a process so far, in nanoseconds: the sum over its threads.
cpu_ns() {
  local total=0 task ns
  for task in /proc/"$1"/task/*; do
    read -r ns _ 2>/dev/null <"$task/schedstat" || continue
    total=$((total + ns))
  done
  echo "$total"
}

wait_for_pid() {
  local pid=
  for _ in $(seq 300); do
    pid=$(wine_pid "$1") && break
    sleep 0.1
  done
  [[ -n $pid ]] || { echo "idle: $1 did not start" >&2; return 1; }
  echo "$pid"
}

vmouse_log=$work/vmouse.log
start_vmouse_exe "$build/tools/vmouse/vmouse.exe" "$vmouse_log" ||
  { kill "$vmouse_pid" 2>/dev/null; echo "idle: vmouse did not start (see $vmouse_log)" >&2; exit 1; }
started+=("$vmouse_pid")
port=$vmouse_port

"$WINE" "$run_dir/Ombrisk.exe" --device=tcp:127.0.0.1:$port >/dev/null 2>&1 &
started+=($!)
ombrisk=$(wait_for_pid Ombrisk.exe)
started+=("$ombrisk")
"$WINE" explorer /desktop=Ombrisk,1280x1024 notepad >/dev/null 2>&1 &
started+=($!)
notepad=$(wait_for_pid notepad.exe)
started+=("$notepad")

sleep "$settle_seconds"
# The utility really is linked to the mouse: vmouse logged its handshake.
if "$WINE" "$build/tools/vmouse/vmouse.exe" dump --port "$port" 2>/dev/null | grep -q '"00aadd3b620000db"'; then
  linked=yes
else
  linked=no
fi

ombrisk_before=$(cpu_ns "$ombrisk")
notepad_before=$(cpu_ns "$notepad")
sleep "$seconds"
ombrisk_used=$(($(cpu_ns "$ombrisk") - ombrisk_before))
notepad_used=$(($(cpu_ns "$notepad") - notepad_before))
kill -0 "$ombrisk" 2>/dev/null || { echo "idle: Ombrisk.exe ended during the measure" >&2; exit 1; }

echo "idle for $seconds s after $settle_seconds s of start-up; Ombrisk.exe linked to vmouse: $linked"
awk -v o="$ombrisk_used" -v n="$notepad_used" -v s="$seconds" -v op="$ombrisk" -v np="$notepad" 'BEGIN {
  printf "Ombrisk.exe (pid %s) CPU time: %.1f ms (%.4f %% of one core)\n", op, o / 1e6, o / 1e7 / s
  printf "notepad (pid %s) CPU time: %.1f ms (%.4f %% of one core)\n", np, n / 1e6, n / 1e7 / s
  if (n > 0) printf "ratio Ombrisk.exe / notepad: %.2f\n", o / n
  else printf "ratio Ombrisk.exe / notepad: none (notepad used no CPU time)\n"
}'
