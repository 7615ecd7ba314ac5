#!/bin/sh
# Start-up of the installed game (content read from PREFIX/share/tovani, the player's files in
# $XDG_DATA_HOME/tovani): the same measure and targets as bench_startup.sh from the build tree.
# Usage: bench/startup/bench_startup_installed.sh [build folder] [runs]
exec "$(dirname "$0")/bench_startup.sh" "${1:-build}" "${2:-7}" installed
