#!/bin/sh
# Runs every benchmark program built in BUILD_DIR/bench; further arguments go to each program.
set -eu
if [ $# -lt 1 ]; then
    echo "usage: bench/run.sh BUILD_DIR [benchmark options]" >&2
    exit 2
fi
build_dir=$1
shift
found=0
for program in "$build_dir"/bench/bench_*; do
    [ -f "$program" ] && [ -x "$program" ] || continue
    found=1
    echo "== $(basename "$program")"
    "$program" "$@"
done
if [ $found -eq 0 ]; then
    echo "no benchmark programs in $build_dir/bench (build the bench_* targets first)" >&2
    exit 1
fi
