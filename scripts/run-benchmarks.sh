#!/bin/sh
# Runs every benchmark program that the build made under bench/.
set -e
BUILD=${1:-build}
for b in "$BUILD"/bench/bench_*; do
    [ -x "$b" ] || continue
    echo "== $(basename "$b")"
    case "$b" in
    *_beats|*_pixels) # plays in a real window (the 3D view's too): a display of its own when none is there
        if [ -n "$DISPLAY" ]; then "$b"
        elif command -v xvfb-run >/dev/null; then xvfb-run -a -s "-screen 0 1280x1024x24" "$b"
        else echo "  skipped: Xvfb (xvfb-run) is not installed"; fi ;;
    *) "$b" ;;
    esac
done
for s in bench/*.sh bench/*/*.sh; do
    [ -x "$s" ] || continue
    echo "== $(basename "$s")"
    "$s" "$BUILD"
done
