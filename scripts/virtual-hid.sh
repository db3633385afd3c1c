#!/usr/bin/env bash
# Puts the virtual HID mouse into a Wine prefix, as a driver installer would, and points it at
# a vmouse port; or takes it out again. Afterwards Ombrisk.exe and ombriskctl.exe in that
# prefix, started with no --device, find vmouse's mouse through the system's own HID stack.
#
#   bash scripts/virtual-hid.sh install --prefix DIR --port PORT
#   bash scripts/virtual-hid.sh remove --prefix DIR
#
# The virtual HID device (tools/virtual_hid) is test equipment: a bus driver whose devices are
# the interfaces vmouse presents and a HID minidriver on each; it is in neither the installer
# nor the zip. Builds what it needs in the MinGW-w64 tree (build/win, or OMBRISK_BUILD_DIR).
# Idempotent, and quick when the device is in place already: install then only points it at
# PORT (the device follows a new port within a second; 0 presents nothing).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

usage() {
  echo "usage: bash scripts/virtual-hid.sh install --prefix DIR --port PORT | remove --prefix DIR" >&2
  exit 2
}

action=${1:-}
shift || true
prefix= port=
while (($#)); do
  case $1 in
    --prefix) prefix=${2:-}; shift 2 || usage ;;
    --port) port=${2:-}; shift 2 || usage ;;
    *) usage ;;
  esac
done
[[ -n $prefix ]] || usage
case $action in
  install) [[ $port =~ ^[0-9]+$ ]] && ((port <= 65535)) || usage ;;
  remove) [[ -z $port ]] || usage ;;
  *) usage ;;
esac

source scripts/wine-helpers.sh
build=${OMBRISK_BUILD_DIR:-build/win}
echo "virtual-hid: building the drivers and their installer in $build" >&2
build_win_tree "$build" install_virtual_hid >/dev/null
equipment=$root/$build/tools/virtual_hid
[[ $build = /* ]] && equipment=$build/tools/virtual_hid

run_installer() {
  bash scripts/wine-run.sh --prefix "$prefix" "$equipment/install_virtual_hid.exe" "$@"
}

if [[ $action == remove ]]; then
  run_installer remove
  echo "virtual-hid: removed from $prefix" >&2
  exit 0
fi

# Newer drivers replace the prefix's copies: renamed into place, so that a session that has the
# old ones loaded keeps running on them until it ends.
drivers=$prefix/drive_c/windows/system32/drivers
if [[ -d $drivers ]]; then
  for file in ombrisk_vbus.sys ombrisk_vhid.sys; do
    if [[ -f $drivers/$file ]] && ! cmp -s "$equipment/$file" "$drivers/$file"; then
      cp "$equipment/$file" "$drivers/.$file.new" && mv -f "$drivers/.$file.new" "$drivers/$file"
    fi
  done
  inf=$prefix/drive_c/windows/inf/ombrisk_vhid.inf
  if [[ -f $inf ]] && ! cmp -s "$equipment/ombrisk_vhid.inf" "$inf"; then
    cp "$equipment/ombrisk_vhid.inf" "$inf"
  fi
fi
run_installer install "$port"
echo "virtual-hid: installed in $prefix, pointed at vmouse port $port" >&2
