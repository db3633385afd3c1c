#!/usr/bin/env bash
# The README's run command: builds the Win32 tree, starts vmouse and Ombrisk.exe with the
# virtual mouse in a Wine virtual desktop.
#
#   bash scripts/run.sh                 on $DISPLAY: runs until the program exits (tray "Exit")
#   bash scripts/run.sh                 without a display: its own Xvfb, a short tour, and
#                                       screenshots in the folder it names
#   bash scripts/run.sh --no-mouse      without vmouse (the program then finds no mouse)
#   bash scripts/run.sh --system-hid    the mouse through the system's HID stack (the virtual
#                                       HID device), with no --device, as users run it
#   bash scripts/run.sh --language CHS  the interface language (CHS, CHT; English otherwise);
#                                       the tour without it shows all three
#
# OMBRISK_BUILD_DIR chooses the build tree (default build/win), OMBRISK_SHOTS the folder of
# the tour's screenshots.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

use_mouse=1
system_hid=0
language=
while (($#)); do
  case $1 in
    --no-mouse) use_mouse=0 ;;
    --system-hid) system_hid=1 ;;
    --language) language=$2; shift ;;
    *) echo "run: unknown option $1" >&2; exit 2 ;;
  esac
  shift
done

bash scripts/setup.sh
build=${OMBRISK_BUILD_DIR:-build/win}
build=$(realpath -m "$build")
cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake >/dev/null
cmake --build "$build" -j "$(nproc)" --target Ombrisk install_folder vmouse e2e_tests install_virtual_hid

export WINEPREFIX=$build/wineprefix WINEDEBUG=${WINEDEBUG:--all}
WINE=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver
source scripts/wine-helpers.sh

# A copy of the install folder to run from, so the built one stays as installed.
run_dir=$build/run
rm -rf "$run_dir"
cp -r "$build/Ombrisk" "$run_dir"
if [[ -n $language ]]; then
  python3 - "$run_dir/str.ini" "$language" <<'PY'
import sys
path, language = sys.argv[1], sys.argv[2]
text = open(path, encoding="utf-16").read()
lines = [("Lan=" + language) if line.startswith("Lan=") else line for line in text.splitlines()]
open(path, "w", encoding="utf-16", newline="\r\n").write("\n".join(lines) + "\n")
PY
fi

win_path() { printf 'Z:%s' "$(realpath "$1" | tr / '\\')"; }

if [[ -z ${DISPLAY:-} ]]; then
  # No display: the tour on an Xvfb of its own (wine-run.sh starts it). The end-to-end driver
  # installs a fresh copy, starts vmouse and Ombrisk.exe in the virtual desktop, clicks the
  # tray icon, sends a device event and saves the screen after each step.
  shots=$(realpath -m "${OMBRISK_SHOTS:-$build/run-screenshots}")
  rm -rf "$shots"; mkdir -p "$shots"
  export OMBRISK_TOUR_SHOTS=$shots OMBRISK_TOUR_LANGUAGES=${language:-EN,CHS,CHT}
  ((use_mouse)) || export OMBRISK_TOUR_NO_MOUSE=1
  if ((system_hid)); then
    export OMBRISK_TOUR_SYSTEM_HID=1
    OMBRISK_BUILD_DIR=$build bash scripts/virtual-hid.sh install --prefix "$WINEPREFIX" --port 0
  fi
  export OMBRISK_INSTALL_DIR=$(win_path "$run_dir")
  status=0
  scripts/wine-run.sh --prefix "$WINEPREFIX" "$build/tests/e2e_tests.exe" \
    --gtest_also_run_disabled_tests --gtest_filter='Tour.*' || status=$?
  ls -1 "$shots"
  echo "run: screenshots of the tour in $shots"
  exit $status
fi

# A display: vmouse and Ombrisk.exe until the program exits (tray menu "Exit").
started=()
cleanup() {
  local pid
  for pid in "${started[@]}"; do kill "$pid" 2>/dev/null || true; done
}
trap cleanup EXIT
trap 'exit 130' INT TERM
scripts/wine-run.sh --prefix "$WINEPREFIX" cmd /c exit 0 >/dev/null 2>&1 || true  # prepares the prefix once

device_args=()
if ((use_mouse)); then
  vmouse_log=$build/vmouse.log
  start_vmouse_exe "$build/tools/vmouse/vmouse.exe" "$vmouse_log" ||
    { kill "$vmouse_pid" 2>/dev/null; echo "run: vmouse did not start (see $vmouse_log)" >&2; exit 1; }
  started+=("$vmouse_pid")
  port=$vmouse_port
  echo "run: vmouse serving on 127.0.0.1:$port; a mouse event: WINEPREFIX=$WINEPREFIX $WINE $build/tools/vmouse/vmouse.exe event --port $port TYPE VALUE"
  device_args=(--device=tcp:127.0.0.1:$port)
  if ((system_hid)); then
    OMBRISK_BUILD_DIR=$build bash scripts/virtual-hid.sh install --prefix "$WINEPREFIX" --port "$port"
    device_args=()
  fi
fi

echo "run: Ombrisk.exe ${device_args[*]} in the Wine virtual desktop \"Ombrisk\" on $DISPLAY"
"$WINE" explorer "/desktop=Ombrisk,1280x1024" "$(win_path "$run_dir/Ombrisk.exe")" "${device_args[@]}"
