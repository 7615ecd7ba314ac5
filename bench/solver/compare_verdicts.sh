#!/bin/sh
# Two builds of solver_deals on the same deals: the verdicts and the positions searched, with the
# quick search and without it, must be the same deal by deal. A change that only makes the search
# cheaper (the same proofs, found with less work) keeps both; a change of the search's order keeps
# the verdicts only (--verdicts).
#
# Usage: sh bench/solver/compare_verdicts.sh BEFORE AFTER [--verdicts] LAYOUT FIRST COUNT
#   (not executable on purpose, as compare_solver.sh; LAYOUT as solver_deals takes it, e.g.
#   Traditional or all). Each run is bounded by a timeout (BENCH_TIMEOUT seconds, 3600 by default).
set -e
[ $# -ge 5 ] || { echo "usage: $0 BEFORE AFTER [--verdicts] LAYOUT FIRST COUNT"; exit 2; }
BEFORE=$1
AFTER=$2
shift 2
COLS='$1, $2, $3, $6, $7'
if [ "$1" = "--verdicts" ]; then
    COLS='$1, $2, $6'
    shift
fi
LIMIT=${BENCH_TIMEOUT:-3600}
WORK=$(mktemp -d /tmp/tovani-solver-verdicts.XXXXXX)
trap 'rm -rf "$WORK"' EXIT INT TERM

# One run after the other, never both at once.
timeout "$LIMIT" "$BEFORE" "$@" --list >"$WORK/before" 2>&1 || true
timeout "$LIMIT" "$AFTER" "$@" --list >"$WORK/after" 2>&1 || true
# The per-deal lines: "game verdict positions ms | verdict positions ms".
for f in before after; do
    awk "\$5 == \"|\" { print $COLS }" "$WORK/$f" >"$WORK/$f.cols"
done
n=$(wc -l <"$WORK/before.cols")
m=$(wc -l <"$WORK/after.cols")
if [ "$n" -eq 0 ] || [ "$n" -ne "$m" ]; then
    echo "the two runs solved different numbers of deals ($n and $m)"
    exit 1
fi
if diff "$WORK/before.cols" "$WORK/after.cols" >"$WORK/diff"; then
    echo "the same on all $n deals"
    grep -E '^with|^without' "$WORK/after" | sed 's/^/after: /'
else
    echo "$(grep -c '^<' "$WORK/diff") of $n deals differ:"
    head -20 "$WORK/diff"
    exit 1
fi
