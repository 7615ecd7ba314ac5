#!/bin/sh
# Runs the test suite of a build folder through CTest. Tests that need a real display (label
# "display") run inside one Xvfb server of their own; the rest run on Qt's offscreen platform.
# The Debian package's check (label "package") is slow and left to `ctest -L package`.
set -e
BUILD=${1:-build}
cd "$BUILD"
ctest --output-on-failure -j "$(nproc)" -LE "display|package"
if ! ctest -N -L display | grep -q "Total Tests: [1-9]"; then
    exit 0
fi
# The server gets the first display number from XVFB_DISPLAY (99 unless set; the sanitizer run
# starts at 171) that no other server holds. Xvfb takes its number's lock file itself, so two
# suites started at the same moment cannot share one: the one that loses tries the next number.
XVFB_PID=""
stop_server() {
    if [ -n "$XVFB_PID" ]; then
        kill "$XVFB_PID" 2>/dev/null || true
        wait "$XVFB_PID" 2>/dev/null || true
    fi
}
trap stop_server EXIT
trap 'exit 130' INT TERM
number=${XVFB_DISPLAY:-99}
last=$((number + 50))
while [ "$number" -le "$last" ]; do
    if [ ! -e "/tmp/.X${number}-lock" ] && [ ! -e "/tmp/.X11-unix/X${number}" ]; then
        Xvfb ":${number}" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
        XVFB_PID=$!
        # Ours when the number's lock names our server and its socket is there; the server
        # ends by itself when another one had the number first.
        tries=0
        while [ $tries -lt 300 ] && kill -0 "$XVFB_PID" 2>/dev/null; do
            owner=$(tr -d ' \n' 2>/dev/null <"/tmp/.X${number}-lock" || true)
            if [ "$owner" = "$XVFB_PID" ] && [ -S "/tmp/.X11-unix/X${number}" ]; then
                break 2
            fi
            sleep 0.1
            tries=$((tries + 1))
        done
        stop_server
        XVFB_PID=""
    fi
    number=$((number + 1))
done
if [ -z "$XVFB_PID" ]; then
    echo "No free display for Xvfb between ${XVFB_DISPLAY:-99} and $last" >&2
    exit 1
fi
echo "Display tests on Xvfb :${number}"
DISPLAY=":${number}" XAUTHORITY=/dev/null ctest --output-on-failure -L display
