#!/usr/bin/env bash
# Runs the libFuzzer targets built in $1: each starts from its seed corpus
# and fuzzes for FUZZ_SECONDS (default 30), as many at once as there are
# cores. New inputs go to a scratch corpus beside the binaries, never into the
# repository; a crash is kept as <build>/crashes/<target>-crash-<hash> and
# fails the run. Further arguments name the targets to run (default: all).
set -euo pipefail
bin_dir="$(cd "$1" && pwd)"
shift
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
seconds="${FUZZ_SECONDS:-30}"
work="$bin_dir/work"
crashes="$bin_dir/crashes"
mkdir -p "$work" "$crashes"

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for corpus in "$here"/corpus/*/; do
    targets+=("$(basename "$corpus")")
  done
fi

# libFuzzer runs every input of the corpus before it fuzzes, so a saved
# input that fails, fails the run at once; the test suites replay the
# corpora too.
for t in "${targets[@]}"; do
  [ -x "$bin_dir/$t" ] || { echo "no fuzz target $t in $bin_dir" >&2; exit 1; }
done

run_one() { # $1 target
  local t="$1"
  mkdir -p "$work/$t"
  if "$bin_dir/$t" -max_total_time="$seconds" -max_len=4096 -timeout=10 -rss_limit_mb=2048 \
      -print_final_stats=1 -artifact_prefix="$crashes/$t-" \
      "$work/$t" "$here/corpus/$t" >"$work/$t.log" 2>&1; then
    local runs
    runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/$t.log")"
    echo "$t: ${runs:-?} runs in ${seconds} s, no finding"
  else
    echo "$t: FAILED, see $work/$t.log" >&2
    tail -n 30 "$work/$t.log" >&2
    return 1
  fi
}

status=0
jobs_max="$(nproc)"
pids=()
for t in "${targets[@]}"; do
  run_one "$t" &
  pids+=($!)
  if [ ${#pids[@]} -ge "$jobs_max" ]; then
    wait "${pids[0]}" || status=1
    pids=("${pids[@]:1}")
  fi
done
for p in "${pids[@]}"; do
  wait "$p" || status=1
done
exit $status
