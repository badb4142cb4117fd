#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer),
# replays every seed corpus once, then fuzzes each target for SECONDS.
#   tests/fuzz/run.sh BUILD_DIR [SECONDS] [TARGET...]
# SECONDS defaults to 10; 0 only replays. New inputs found while fuzzing go to a scratch folder
# (printed at the end) and are not added to the committed corpus; a crash leaves its input in
# BUILD_DIR/fuzz-artifacts/ and fails the run. Needs clang and libclang-rt-14-dev.
set -uo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:?usage: tests/fuzz/run.sh BUILD_DIR [SECONDS] [TARGET...]}
seconds=${2:-10}
shift $(($# >= 2 ? 2 : $#))
command -v clang++ >/dev/null || { echo "clang++ is not installed" >&2; exit 2; }

mkdir -p "$build"
flags="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_C_FLAGS="$flags" -DCMAKE_CXX_FLAGS="$flags" \
    -DQV_FUZZ=ON -DQV_BUILD_BENCH=OFF >"$build/configure.log" 2>&1 \
    || { cat "$build/configure.log" >&2; exit 1; }
cmake --build "$build" --target fuzz_targets -j "${QV_JOBS:-2}" || exit 1

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    for dir in "$root"/tests/fuzz/corpus/*/; do
        targets+=("$(basename "$dir")")
    done
fi

artifacts="$build/fuzz-artifacts"
scratch="$build/fuzz-new-inputs"
mkdir -p "$artifacts" "$scratch"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:${ASAN_OPTIONS:-}"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:${UBSAN_OPTIONS:-}"
failed=0

printf '%-16s %8s %10s %s\n' target seeds executions result
for name in "${targets[@]}"; do
    exe="$build/tests/fuzz/fuzz_$name"
    seeds="$root/tests/fuzz/corpus/$name"
    log="$build/fuzz-$name.log"
    count=$(find "$seeds" -type f | wc -l)
    result=ok
    if ! "$exe" -runs=0 "$seeds" >"$log" 2>&1; then
        result="replay FAILED (see $log)"
    elif [ "$seconds" -gt 0 ]; then
        mkdir -p "$scratch/$name"
        "$exe" -max_total_time="$seconds" -print_final_stats=1 -rss_limit_mb=2048 -timeout=10 \
            -artifact_prefix="$artifacts/$name-" "$scratch/$name" "$seeds" >>"$log" 2>&1 \
            || result="FAILED (see $log)"
    fi
    runs=$(grep -ao 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' | tail -1)
    [ "$result" = ok ] || failed=$((failed + 1))
    printf '%-16s %8s %10s %s\n' "$name" "$count" "${runs:-$count}" "$result"
done

echo "fuzz: ${#targets[@]} targets, $failed failed; new inputs in $scratch"
[ $failed -eq 0 ]
