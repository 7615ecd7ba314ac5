#!/bin/sh
# Installs the build into a temporary prefix (as `make install PREFIX=...` does) and checks
# the installed game there.   check_install_prefix.sh BUILD_DIR SAMPLES_DIR SHOTS_DIR
set -eu
BUILD=$1
HERE=$(dirname "$0")
PREFIX=$(mktemp -d)
trap 'rm -rf "$PREFIX"' EXIT
cmake --install "$BUILD" --prefix "$PREFIX" >/dev/null
"$HERE/check_installed.sh" "$PREFIX" "$2" "$3"
