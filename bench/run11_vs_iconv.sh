#!/usr/bin/env bash
# The whole scripted conversion of a bookmark file into a hotlist (--run 11) beside the cost
# of merely decoding the same file with iconv, in the same run, with the peak memory of each:
#   bench/run11_vs_iconv.sh [LINKS] [carried]
#     LINKS: default 1000000; carried: every link has a date added, a keyword and an icon
#     address. Uses build/ from ./run.sh or ./test.sh, or the build folder in LINKFERRY_BUILD.
set -euo pipefail
cd "$(dirname "$0")/.."
links="${1:-1000000}"
carried="${2:-}"
build="${LINKFERRY_BUILD:-build}"
cmake --build "$build" --target linkferry make_bookmark_file >/dev/null
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
"$build"/bench/make_bookmark_file "$links" "$work/bookmark.htm" sjis $carried >/dev/null
mkdir -p "$work/config" "$work/state"
export XDG_CONFIG_HOME="$work/config" XDG_STATE_HOME="$work/state"

# Seconds and peak resident kilobytes of a command, best of three runs.
measure() {
  local best_s="" best_kb=""
  for _ in 1 2 3; do
    /usr/bin/time -f "%e %M" -o "$work/time" "$@" >/dev/null 2>"$work/err" || {
      cat "$work/err" >&2
      exit 1
    }
    read -r s kb <"$work/time"
    if [ -z "$best_s" ] || awk "BEGIN{exit !($s < $best_s)}"; then best_s=$s; fi
    if [ -z "$best_kb" ] || [ "$kb" -lt "$best_kb" ]; then best_kb=$kb; fi
  done
  echo "$best_s $best_kb"
}

size_mb=$(du -m "$work/bookmark.htm" | cut -f1)
read -r iconv_s iconv_kb < <(measure iconv -f CP932 -t UTF-8 "$work/bookmark.htm")
read -r run_s run_kb < <(measure "$build"/wizard/linkferry --run 11 --nn "$work/bookmark.htm" \
  --opera "$work/out.adr" --ie "$work/Favorites")
printf '%s links, %s MB Shift-JIS bookmark file\n' "$links" "$size_mb"
printf 'iconv -f CP932 -t UTF-8   %6.2f s  %6d MB peak\n' "$iconv_s" $((iconv_kb / 1024))
printf 'linkferry --run 11        %6.2f s  %6d MB peak\n' "$run_s" $((run_kb / 1024))
awk "BEGIN{printf \"ratio                     %6.2f\n\", $run_s / $iconv_s}"
