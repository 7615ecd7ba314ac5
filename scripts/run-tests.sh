#!/bin/sh
# Runs the test suite of a build folder through CTest. Tests that need a real display (label
# "display") run inside one Xvfb server; the rest run on Qt's offscreen platform. The Debian
# package's check (label "package") is slow and left to `ctest -L package`.
set -e
BUILD=${1:-build}
cd "$BUILD"
ctest --output-on-failure -j "$(nproc)" -LE "display|package"
# XVFB_DISPLAY gives the display tests a server number of their own (the sanitizer run uses
# one, so that it never meets a normal run's server); taken, or unset, the first free one.
SERVER="-a"
if [ -n "${XVFB_DISPLAY:-}" ] && [ ! -e "/tmp/.X${XVFB_DISPLAY}-lock" ]; then
    SERVER="-n ${XVFB_DISPLAY}"
fi
if ctest -N -L display | grep -q "Total Tests: [1-9]"; then
    # shellcheck disable=SC2086
    xvfb-run $SERVER -s "-screen 0 1280x1024x24" ctest --output-on-failure -L display
fi
