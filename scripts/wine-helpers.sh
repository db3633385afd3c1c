# Helpers of the scripts that run Wine programs here (sourced, not run): wine-run.sh,
# run.sh, bench/idle/run.sh, bench/soak/run.sh and unplug_loop.sh.

# Starts an Xvfb of its own; -displayfd lets it pick a free display number and tell which.
# Sets DISPLAY and xvfb_pid; fails when Xvfb does not start.
start_own_xvfb() {
  local display_file number
  display_file=$(mktemp)
  Xvfb -displayfd 1 -screen 0 1280x1024x24 -nolisten tcp >"$display_file" 2>/dev/null &
  xvfb_pid=$!
  for _ in $(seq 200); do [[ -s $display_file ]] && break; sleep 0.05; done
  number=$(head -n1 "$display_file"); rm -f "$display_file"
  [[ -n $number ]] || return 1
  export DISPLAY=:$number
}

# Starts `VMOUSE_EXE serve --port 0` under $WINE, its output in LOG, and waits until it
# names its port. Sets vmouse_pid and vmouse_port; fails when it does not serve.
start_vmouse_exe() {
  local exe=$1 log=$2
  "$WINE" "$exe" serve --port 0 >"$log" 2>&1 &
  vmouse_pid=$!
  vmouse_port=
  for _ in $(seq 300); do
    vmouse_port=$(sed -n 's/.*serving on 127\.0\.0\.1:\([0-9]*\).*/\1/p' "$log" | head -n1)
    [[ -n $vmouse_port ]] && return 0
    sleep 0.1
  done
  return 1
}

# Configures the MinGW-w64 tree BUILD (once) and builds the given targets in it.
build_win_tree() {
  local build=$1
  shift
  if [[ ! -f $build/build.ninja ]]; then
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake >/dev/null
  fi
  cmake --build "$build" -j 2 --target "$@"
}
