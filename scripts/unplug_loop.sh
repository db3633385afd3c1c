#!/usr/bin/env bash
# The mouse pulled out at a random point of an Apply, COUNT times in a row (100 by default),
# through the real Ombrisk.exe under Wine: scripts/unplug_loop.sh [COUNT [SEED]]
# Builds the Win32 tree if needed; prints the seed, the points and the longest wait for the
# message, and fails when any turn does. A turn takes some 11 s.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
build=${OMBRISK_BUILD_DIR:-build/win}
source scripts/wine-helpers.sh
build_win_tree "$build" e2e_tests install_folder vmouse
export OMBRISK_UNPLUG_APPLIES=${1:-100}
[[ -n ${2:-} ]] && export OMBRISK_UNPLUG_SEED=$2
exec scripts/wine-run.sh --prefix "$build/wineprefix" "$build/tests/e2e_tests.exe" \
  --gtest_filter='FaultyMouse.UnpluggedAtARandomPointOfAnApplyEveryTime' --gtest_color=no
