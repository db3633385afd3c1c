#!/usr/bin/env bash
# Kills the process saving config.bin, record.ini and str.ini at random points, KILLS times
# each (1000 by default), and prints how often each file was left old or new (never anything
# else, or it exits 1). Builds what it needs in the native tree.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
kills=${1:-1000}
[[ -f build/native/build.ninja ]] || cmake -S . -B build/native -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/native --target torn_writes >/dev/null
build/native/tests/torn/torn_writes "$kills"
