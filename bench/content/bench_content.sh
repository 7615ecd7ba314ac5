#!/bin/bash
# What making the content costs at build time, in processor seconds (user + system, so a busy
# machine does not change the figure much): painting every picture with tovani_art (targets:
# at most 30 s, the backgrounds at most 20 s) and making every layout from its design with
# tovani-make-layouts (at most 5 s, the 50 winnable deals each design is checked with included).
#
# Usage: bench/content/bench_content.sh [build folder]
set -e
BUILD=${1:-build}
BIN=$(cd "$BUILD/bin" && pwd)
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
[ -x "$BIN/tovani_art" ] && [ -x "$BIN/tovani-make-layouts" ] || { echo "build first"; exit 1; }
WORK=$(mktemp -d /tmp/tovani-content.XXXXXX)
trap 'rm -rf "$WORK"' EXIT INT TERM

# Runs a command and prints its processor seconds.
cpu() {
    local TIMEFORMAT='%U %S' out
    out=$( { time "$@" >/dev/null 2>&1; } 2>&1 )
    echo "$out" | awk '{ printf "%.1f", $1 + $2 }'
}

report() { # name seconds target
    local verdict
    verdict=$(awk -v s="$2" -v t="$3" 'BEGIN { print (s <= t) ? "ok" : "OVER" }')
    printf "%-34s %6s s   target %4s s   %s\n" "$1" "$2" "$3" "$verdict"
}

export QT_QPA_PLATFORM=offscreen
report "tovani_art backgrounds" "$(cpu "$BIN/tovani_art" backgrounds "$WORK")" 20
report "tovani_art all" "$(cpu "$BIN/tovani_art" all "$WORK")" 30
mkdir -p "$WORK/Layouts"
report "tovani-make-layouts (every design)" \
    "$(cpu "$BIN/tovani-make-layouts" "$WORK/Layouts" "$ROOT"/tools/layouts/designs/*.txt)" 5
