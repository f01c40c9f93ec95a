#!/usr/bin/env bash
# Runs the libFuzzer targets, each for the given number of seconds, and prints how many
# inputs each one ran. Builds build-fuzz (clang, LINKFERRY_FUZZ=ON) first.
#
#   fuzz/run.sh SECONDS [TARGET...]     e.g. fuzz/run.sh 5, fuzz/run.sh 3600 opera_reader
#
# Targets are named without "_fuzz": netscape_reader opera_reader url_file ini_file encodings
# netscape_roundtrip opera_roundtrip favorites_roundtrip. New inputs found are kept in
# build-fuzz/corpus/TARGET (the seeds in fuzz/corpus/TARGET stay as they are); an input that
# fails is saved in build-fuzz/artifacts/TARGET/ and its report in build-fuzz/logs/TARGET.log.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:?usage: fuzz/run.sh SECONDS [TARGET...]}
shift
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  targets=(netscape_reader opera_reader url_file ini_file encodings
           netscape_roundtrip opera_roundtrip favorites_roundtrip)
fi

build=build-fuzz
if [ ! -f "$build/CMakeCache.txt" ]; then
  CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DLINKFERRY_GUI=OFF -DLINKFERRY_BENCH=OFF -DLINKFERRY_FUZZ=ON >/dev/null
fi
cmake --build "$build" --target fuzzers

# The dictionary of a target's format: netscape_roundtrip uses fuzz/netscape.dict.
dictionary() {
  local format=${1%%_*}
  if [ -f "fuzz/$format.dict" ]; then echo "-dict=fuzz/$format.dict"; fi
}

failed=()
printf '%-22s %12s %10s  %s\n' target executions corpus result
for t in "${targets[@]}"; do
  work="$build/corpus/$t"
  artifacts="$build/artifacts/$t"
  log="$build/logs/$t.log"
  mkdir -p "$work" "$artifacts" "$(dirname "$log")"
  status=ok
  # shellcheck disable=SC2046
  if ! ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
      "$build/fuzz/${t}_fuzz" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 \
      -max_len=65536 -print_final_stats=1 -artifact_prefix="$artifacts/" \
      $(dictionary "$t") "$work" "fuzz/corpus/$t" >"$log" 2>&1; then
    status=FAILED
    failed+=("$t")
  fi
  execs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || true)
  units=$(find "$work" -type f | wc -l)
  printf '%-22s %12s %10s  %s\n' "$t" "${execs:-?}" "$units" "$status"
done

if [ ${#failed[@]} -gt 0 ]; then
  for t in "${failed[@]}"; do
    echo
    echo "== $t: $build/logs/$t.log"
    grep -E -A30 'ERROR|check failed|deadly signal|Test unit written' "$build/logs/$t.log" | head -60
  done
  exit 1
fi
