#!/usr/bin/env bash
# Builds the libFuzzer targets and runs each for a bounded time under AddressSanitizer.
# usage: fuzz/run.sh [seconds per target, default 30]
# OMBREL_FUZZ_BUILD overrides the build directory; OMBREL_FUZZ_JOBS runs that many targets at
# once (default 1). New inputs go to the build directory; the committed corpus is only read.
set -euo pipefail

seconds=${1:-30}
root=$(cd "$(dirname "$0")/.." && pwd)
build=${OMBREL_FUZZ_BUILD:-$root/build/fuzz}
jobs=${OMBREL_FUZZ_JOBS:-1}

cmake --preset fuzz -B "$build" >/dev/null
cmake --build "$build" --target ombrel_fuzzers -j2

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

run_target() {
    local target=$1
    local work="$build/fuzz-work/$target"
    mkdir -p "$work/corpus" "$work/artifacts"
    local seeds=()
    [[ -d "$root/fuzz/corpus/$target" ]] && seeds+=("$root/fuzz/corpus/$target")
    if "$build/fuzz/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -artifact_prefix="$work/artifacts/" -print_final_stats=1 \
        "$work/corpus" "${seeds[@]}" >"$work/log.txt" 2>&1; then
        echo "ok      $target ($(grep -o 'stat::number_of_executed_units: *[0-9]*' "$work/log.txt" |
            grep -o '[0-9]*$') runs)"
    else
        echo "FAILED  $target: see $work/log.txt and $work/artifacts/"
        tail -n 30 "$work/log.txt"
        return 1
    fi
}

targets=()
for exe in "$build"/fuzz/fuzz_*; do
    [[ -x "$exe" && -f "$exe" ]] && targets+=("$(basename "$exe")")
done

failed=0
pids=()
for target in "${targets[@]}"; do
    run_target "$target" &
    pids+=($!)
    if (( ${#pids[@]} >= jobs )); then
        wait "${pids[0]}" || failed=1
        pids=("${pids[@]:1}")
    fi
done
for pid in "${pids[@]}"; do
    wait "$pid" || failed=1
done
exit $failed
