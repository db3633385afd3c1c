#!/usr/bin/env bash
# Runs a Windows program under Wine for the tests: wine-run.sh --prefix DIR PROGRAM [ARGS...]
#
# Uses a private WINEPREFIX (DIR, initialised once with wineboot), WINEDEBUG=-all, and an
# Xvfb display of its own when DISPLAY is unset. It stops only what it started: its Xvfb by
# process id and the wineserver of its own prefix.
set -uo pipefail

prefix=
if [[ ${1:-} == --prefix ]]; then prefix=$2; shift 2; fi
[[ -n $prefix ]] || { echo "wine-run: --prefix DIR is required" >&2; exit 2; }
(($#)) || { echo "wine-run: no program given" >&2; exit 2; }
mkdir -p "$(dirname "$prefix")"
prefix=$(cd "$(dirname "$prefix")" && pwd)/$(basename "$prefix")  # Wine wants it absolute

WINE=${WINE:-/usr/lib/wine/wine64}
WINESERVER=${WINESERVER:-/usr/lib/wine/wineserver}
export WINEPREFIX=$prefix WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

xvfb_pid=
cleanup() {
  "$WINESERVER" -k >/dev/null 2>&1
  [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
}
trap cleanup EXIT
trap 'exit 130' INT TERM

source "$(dirname "$0")/wine-helpers.sh"
if [[ -z ${DISPLAY:-} ]]; then
  start_own_xvfb || { echo "wine-run: Xvfb did not start" >&2; exit 2; }
fi

# The Windows path of a file in the Unix file system (Wine's drive Z: is /).
winepath_of() { printf 'Z:%s' "$(realpath "$1" | tr / '\\')"; }

# First use of the prefix: create it once, even when several runs start together.
(
  flock 9
  if [[ ! -f $prefix/.ombrisk-ready ]]; then
    "$WINE" wineboot -i >/dev/null 2>&1
    "$WINESERVER" -w
    touch "$prefix/.ombrisk-ready"
  fi
  # The program's runtime settings (fonts, virtual desktop); a new version of the settings
  # file gets a new marker, so existing prefixes take it up too.
  runtime_marker=$prefix/.ombrisk-runtime-v7
  if [[ ! -f $runtime_marker ]]; then
    reg_file=$prefix/ombrisk-runtime.reg
    { printf '\xff\xfe'; sed 's/$/\r/' "$(dirname "$0")/wine-prefix.reg" | iconv -f UTF-8 -t UTF-16LE; } >"$reg_file"
    "$WINE" regedit /S "$(winepath_of "$reg_file")" >/dev/null 2>&1
    "$WINESERVER" -w
    touch "$runtime_marker"
  fi
) 9>"$prefix.lock"

"$WINE" "$@"
status=$?
exit $status
