#!/bin/sh
# Installs every Debian package that building, running and testing Tovani needs.
# One list, used by `make run`, `make test` and .ci/run. Safe to run again: it only
# installs what is missing.
set -e

PACKAGES="g++ cmake ninja-build pkg-config make
qt6-base-dev qt6-qpa-plugins libqt6opengl6-dev libgl-dev libgl1-mesa-dri libglu1-mesa-dev
libsdl2-mixer-dev libfluidsynth-dev timgm6mb-soundfont libjpeg62-turbo-dev libgtest-dev
fonts-dejavu-core fonts-liberation2 fonts-wqy-zenhei fonts-arphic-ukai xvfb xauth xdotool imagemagick
python3-pil sox qt6-translations-l10n
appstream lintian desktop-file-utils dpkg-dev fakeroot"
# `make fuzz` (scripts/install-deps.sh fuzz) needs clang and its libFuzzer runtime as well.
if [ "${1:-}" = "fuzz" ]; then
    PACKAGES="$PACKAGES clang libclang-rt-14-dev"
fi

missing=""
for p in $PACKAGES; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $p"
    fi
done

if [ -z "$missing" ]; then
    exit 0
fi

echo "Installing:$missing"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then
    SUDO="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq || true
# shellcheck disable=SC2086
$SUDO apt-get install -y -qq --no-install-recommends $missing
