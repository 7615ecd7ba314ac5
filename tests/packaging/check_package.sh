#!/bin/sh
# Builds the Debian package (as `make deb` does), looks inside it with dpkg-deb and lintian,
# unpacks it into a throw-away root and checks the game installed there.
#   check_package.sh BUILD_DIR SAMPLES_DIR SHOTS_DIR
set -eu
BUILD=$(cd "$1" && pwd)
HERE=$(cd "$(dirname "$0")" && pwd)
(cd "$BUILD" && rm -f tovani_*.deb && cpack -G DEB >/dev/null)
DEB=$(ls "$BUILD"/tovani_*.deb | head -1)
echo "package: $DEB"
failures=0
check() {
    what=$1
    shift
    if "$@" >/dev/null 2>&1; then echo "ok   $what"; else echo "FAIL $what"; failures=$((failures + 1)); fi
}
INFO=$(dpkg-deb -I "$DEB")
LIST=$(dpkg-deb -c "$DEB")
echo "$INFO" | sed -n '/Package:/,$p'
check "named tovani, section games" sh -c "echo '$INFO' | grep -q 'Package: tovani' && echo '$INFO' | grep -q 'Section: games'"
for dep in libqt6widgets6 libsdl2-mixer qt6-qpa-plugins timgm6mb-soundfont libjpeg62-turbo; do
    check "depends on $dep" sh -c "echo '$INFO' | grep '^ Depends:' | grep -q '$dep'"
done
for f in ./usr/games/tovani ./usr/games/tovani-cli ./usr/share/tovani/Layouts/Traditional.lay \
    ./usr/share/applications/org.tovani.Tovani.desktop ./usr/share/metainfo/org.tovani.Tovani.metainfo.xml \
    ./usr/share/icons/hicolor/256x256/apps/tovani.png ./usr/share/man/man6/tovani-cli.6.gz \
    ./usr/share/doc/tovani/copyright; do
    check "holds $f" sh -c "echo '$LIST' | grep -q ' $f\$'"
done
check "every file belongs to root" sh -c "! echo '$LIST' | awk '{print \$2}' | grep -v '^root/root\$'"
if command -v lintian >/dev/null; then
    # Errors fail the check; warnings are printed for whoever looks.
    lintian --no-tag-display-limit "$DEB" | tee "$BUILD/lintian.txt" || true
    check "lintian finds no error" sh -c "! grep -q '^E:' '$BUILD/lintian.txt'"
fi
ROOT=$(mktemp -d)
trap 'rm -rf "$ROOT"' EXIT
dpkg-deb -x "$DEB" "$ROOT"
"$HERE/check_installed.sh" "$ROOT/usr" "$2" "$3" || failures=$((failures + 1))
[ "$failures" -eq 0 ] || { echo "$failures failure(s)"; exit 1; }
echo "package checks passed"
