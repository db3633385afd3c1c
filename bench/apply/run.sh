#!/usr/bin/env bash
# The Apply sequence of bench_apply.exe under Wine, through the system's HID stack (the
# virtual HID device, as the utility runs without --device) and over loopback TCP, in one
# run; prints both and their ratios to the pauses the sequence mandates.
#
#   bash bench/apply/run.sh [RUNS]
#
# Uses a Wine prefix of its own (build/win/bench-apply-prefix) and two native vmice: a mouse
# serves one host, and the system's HID stack takes the input reports as they come.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"
runs=${1:-15}
source scripts/wine-helpers.sh
build=${OMBRISK_BUILD_DIR:-build/win}
build_win_tree "$build" bench_apply >/dev/null
cmake -S . -B build/native -G Ninja >/dev/null && cmake --build build/native --target vmouse >/dev/null
prefix=$root/$build/bench-apply-prefix

logs=$(mktemp -d)
pids=()
cleanup() { for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done; rm -rf "$logs"; }
trap cleanup EXIT
serve() {
  build/native/tools/vmouse/vmouse serve --port 0 >"$logs/$1" 2>&1 &
  pids+=($!)
  for _ in $(seq 100); do grep -q "serving on" "$logs/$1" 2>/dev/null && break; sleep 0.05; done
  sed -n 's/.*serving on 127\.0\.0\.1:\([0-9]*\).*/\1/p' "$logs/$1" | head -n1
}
hid_port=$(serve hid)
loopback_port=$(serve loopback)
bash scripts/virtual-hid.sh install --prefix "$prefix" --port "$hid_port" 2>/dev/null
# The session starts the device; bench_apply waits until the system presents the mouse.
bash scripts/wine-run.sh --prefix "$prefix" "$build/bench/apply/bench_apply.exe" "$runs" \
  --device hid --device "tcp:127.0.0.1:$loopback_port"
bash scripts/virtual-hid.sh install --prefix "$prefix" --port 0 2>/dev/null
