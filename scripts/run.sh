#!/usr/bin/env bash
# Builds the Win32 tree and starts Ombrisk.exe under Wine.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/setup.sh
cmake -S . -B build/win -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake >/dev/null
cmake --build build/win -j "$(nproc)"
exec scripts/wine-run.sh --prefix build/win/wineprefix build/win/src/app/Ombrisk.exe "$@"
