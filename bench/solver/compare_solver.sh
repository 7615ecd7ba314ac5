#!/bin/sh
# Two builds of bench_solver on the same deals, one after the other on this machine, with their
# figures side by side: the solver before a change (left) and after it (right).
#
# Usage: sh bench/solver/compare_solver.sh BEFORE AFTER [bench_solver options ...]
#   (not executable on purpose: scripts/run-benchmarks.sh runs the executable scripts of bench/,
#   and this one needs two programs to compare)
#   BEFORE, AFTER: the two bench_solver programs (copy the older one aside before rebuilding).
#   The options go to both unchanged, e.g. "--only traditional 500001 1000001 2000001" or
#   "--only layouts --layout-deals 200".
# Each run is bounded by a timeout (BENCH_TIMEOUT seconds, 3600 by default).
set -e
[ $# -ge 2 ] || { echo "usage: $0 BEFORE AFTER [bench_solver options ...]"; exit 2; }
BEFORE=$1
AFTER=$2
shift 2
for b in "$BEFORE" "$AFTER"; do
    [ -x "$b" ] || { echo "$b is not a program"; exit 2; }
done
LIMIT=${BENCH_TIMEOUT:-3600}
WORK=$(mktemp -d /tmp/tovani-solver-compare.XXXXXX)
trap 'rm -rf "$WORK"' EXIT INT TERM

# One run after the other, never both at once: they would slow each other down.
timeout "$LIMIT" "$BEFORE" "$@" >"$WORK/before" 2>&1 || true
timeout "$LIMIT" "$AFTER" "$@" >"$WORK/after" 2>&1 || true

echo "before: $BEFORE"
echo "after:  $AFTER"
# The lines with figures, paired in the order both runs print them.
grep -E 'ms|deals|MB|target' "$WORK/before" | sed 's/  */ /g' >"$WORK/b"
grep -E 'ms|deals|MB|target' "$WORK/after" | sed 's/  */ /g' >"$WORK/a"
awk 'NR == FNR { before[FNR] = $0; n = FNR; next }
     { printf "%-70s | %s\n", before[FNR], $0 }
     END { if (FNR != n) print "(the two runs printed different lines: see each run alone)" }' \
    "$WORK/b" "$WORK/a"
