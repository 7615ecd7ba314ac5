#!/bin/sh
# Runs every benchmark program that the build made under bench/.
set -e
BUILD=${1:-build}
for b in "$BUILD"/bench/bench_*; do
    [ -x "$b" ] || continue
    echo "== $(basename "$b")"
    "$b"
done
for s in bench/*.sh bench/*/*.sh; do
    [ -x "$s" ] || continue
    echo "== $(basename "$s")"
    "$s" "$BUILD"
done
