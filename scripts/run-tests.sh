#!/bin/sh
# Runs the test suite of a build folder through CTest. Tests that need a real display (label
# "display") run inside one Xvfb server; the rest run on Qt's offscreen platform. The Debian
# package's check (label "package") is slow and left to `ctest -L package`.
set -e
BUILD=${1:-build}
cd "$BUILD"
ctest --output-on-failure -j "$(nproc)" -LE "display|package"
if ctest -N -L display | grep -q "Total Tests: [1-9]"; then
    xvfb-run -a -s "-screen 0 1280x1024x24" ctest --output-on-failure -L display
fi
