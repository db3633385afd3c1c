#!/usr/bin/env bash
# Every test: installs what is missing, builds the native and the MinGW-w64 tree, and runs
# the native unit tests and the Wine tests. Fails when any build or test fails.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash scripts/setup.sh
jobs=$(nproc)

cmake -S . -B build/native -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/native -j "$jobs"
cmake -S . -B build/win -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake >/dev/null
cmake --build build/win -j "$jobs"

status=0
echo "== native tests"
ctest --test-dir build/native --output-on-failure -j "$jobs" || status=1
echo "== Wine tests"
ctest --test-dir build/win --output-on-failure || status=1
exit $status
