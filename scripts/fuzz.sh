#!/usr/bin/env bash
# Fuzzes each target of tests/fuzz with libFuzzer for SECONDS (60 by default), one after the
# other, and prints the executions and findings of each. Builds the targets with clang in
# build/fuzz; the corpus grows in build/fuzz/corpus/<target> from the seeds of
# tests/fuzz/corpus; a finding is copied to tests/fuzz/regressions/<target> so that the test
# command replays it from then on. Exits 1 when anything was found. Targets may be named
# after SECONDS to fuzz only those.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
seconds=${1:-60}
shift || true
targets=("$@")
((${#targets[@]})) || targets=(config_load profile_file macro_file profile_import device_answers event_report vmouse_wire png_header)

if [[ ! -f build/fuzz/build.ninja ]]; then
  CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DOMBRISK_FUZZ=ON >/dev/null
fi
cmake --build build/fuzz --target fuzz_programs >/dev/null

found=0
for target in "${targets[@]}"; do
  corpus=build/fuzz/corpus/$target
  findings=build/fuzz/findings/$target
  rm -rf "$findings"  # only what this run finds
  mkdir -p "$corpus" "$findings"
  log=build/fuzz/$target.log
  build/fuzz/tests/fuzz/fuzz_$target "$corpus" tests/fuzz/corpus/$target tests/fuzz/regressions/$target \
    -max_total_time="$seconds" -max_len=4096 -timeout=10 -rss_limit_mb=2048 \
    -artifact_prefix="$findings/" -print_final_stats=1 >"$log" 2>&1 || true
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  count=0
  for finding in "$findings"/*; do
    [[ -f $finding ]] || continue
    cp "$finding" tests/fuzz/regressions/$target/
    count=$((count + 1))
  done
  ((count == 0)) || found=1
  printf '%-16s %12s executions  %d findings\n' "$target" "${runs:-?}" "$count"
done
exit $found
