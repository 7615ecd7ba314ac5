#!/bin/sh
# Checks an installed Tovani: every file the game and the desktop need is in place, the two
# programs answer from the installed tree, and the game starts once on the display (Xvfb),
# reads its content from PREFIX/share/tovani and keeps the player's files in $XDG_DATA_HOME.
#
#   check_installed.sh PREFIX SAMPLES_DIR SHOTS_DIR
set -u
PREFIX=$1
SAMPLES=$2
SHOTS=$3
failures=0
check() { # check WHAT COMMAND...
    what=$1
    shift
    if "$@" >/dev/null 2>&1; then
        echo "ok   $what"
    else
        echo "FAIL $what"
        failures=$((failures + 1))
    fi
}
has() { test -f "$PREFIX/$1"; }

SHARE=$PREFIX/share/tovani
# Debian keeps games in PREFIX/games, other systems in PREFIX/bin.
GAMES=bin
[ -x "$PREFIX/games/tovani" ] && GAMES=games
GAMES_DIR=$PREFIX/$GAMES
for f in $GAMES/tovani $GAMES/tovani-cli \
    share/tovani/Layouts/Traditional.lay share/tovani/Layouts/Spiral.shp \
    share/tovani/Layouts/Winnable.ini share/tovani/Tilesets/Ivory.bmp share/tovani/Small/Kanji.bmp \
    share/tovani/Backgrounds/Garden.jpg share/tovani/Musics/Endless.mid \
    share/tovani/Resources/Splash.png share/tovani/Languages/English.txt \
    share/tovani/Help/index.html \
    share/applications/org.tovani.Tovani.desktop share/metainfo/org.tovani.Tovani.metainfo.xml \
    share/icons/hicolor/scalable/apps/tovani.svg \
    share/man/man6/tovani.6.gz share/man/man6/tovani-cli.6.gz; do
    check "installed: $f" has "$f"
done
for size in 48 64 128 256; do
    png=$PREFIX/share/icons/hicolor/${size}x${size}/apps/tovani.png
    check "icon ${size}x${size}" test "$(identify -format %wx%h "$png" 2>/dev/null)" = "${size}x${size}"
done
# Nothing of a player's ships: no settings, scores or saved games in the content.
check "no player files installed" test -z "$(find "$PREFIX" -name '*.ini' ! -name Winnable.ini -o -name Savegame -o -name '*.tvg' | head -1)"
check "metainfo validates" appstreamcli validate --no-net "$PREFIX/share/metainfo/org.tovani.Tovani.metainfo.xml"
if command -v desktop-file-validate >/dev/null; then
    check "desktop entry validates" desktop-file-validate "$PREFIX/share/applications/org.tovani.Tovani.desktop"
fi
check "manual page tovani-cli(6)" sh -c "gzip -dc '$PREFIX/share/man/man6/tovani-cli.6.gz' | grep -q '^.SH COMMANDS'"

# The programs answer without a display.
check "tovani --version" sh -c "env -u DISPLAY -u QT_QPA_PLATFORM '$GAMES_DIR/tovani' --version | grep -q '^Tovani [0-9]'"
check "tovani --help" sh -c "env -u DISPLAY -u QT_QPA_PLATFORM '$GAMES_DIR/tovani' --help | grep -q '^Usage: tovani'"
check "tovani-cli finds the installed layouts" sh -c "'$GAMES_DIR/tovani-cli' layout-info Traditional | grep -q 144"

WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
export HOME=$WORK/home XDG_DATA_HOME=$WORK/data
mkdir -p "$HOME"
check "tovani-cli import into the player's layouts" "$GAMES_DIR/tovani-cli" import "$SAMPLES/steps.layout"
check "imported layout saved in XDG_DATA_HOME" test -f "$XDG_DATA_HOME/tovani/Layouts/steps.lay"
check "nothing written into the installed tree" test ! -e "$SHARE/Layouts/steps.lay"

# The game once on the display: it starts, shows its welcome screen and closes on Escape.
if [ -n "${DISPLAY:-}" ] && command -v xdotool >/dev/null; then
    mkdir -p "$SHOTS" "$XDG_DATA_HOME/tovani"
    # A player who has answered the first-run questions already.
    printf '[Tovani]\r\nLanguage=English\r\nMaximize=0\r\nPauseFocus=0\r\n' >"$XDG_DATA_HOME/tovani/Tovani.ini"
    env -u QT_QPA_PLATFORM SDL_AUDIODRIVER=dummy "$GAMES_DIR/tovani" >"$WORK/game.log" 2>&1 &
    pid=$!
    window=""
    for _ in $(seq 1 100); do
        window=$(xdotool search --onlyvisible --name '^Tovani' 2>/dev/null | head -1)
        [ -n "$window" ] && break
        sleep 0.2
    done
    check "installed game shows its window" test -n "$window"
    sleep 4
    import -window root "$SHOTS/installed-game.png"
    # The welcome screen is painted from the installed pictures: many colours, not a blank.
    colours=$(convert "$SHOTS/installed-game.png" -format %k info: 2>/dev/null || echo 0)
    check "installed game paints its content ($colours colours)" test "$colours" -gt 500
    [ -n "$window" ] && xdotool mousemove --window "$window" 400 300 click 1 >/dev/null 2>&1
    sleep 0.5
    xdotool key Escape >/dev/null 2>&1
    for _ in $(seq 1 50); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.2
    done
    if kill -0 "$pid" 2>/dev/null; then
        kill "$pid"
        check "installed game closes on Escape" false
    else
        wait "$pid"
        check "installed game exits cleanly" test $? -eq 0
    fi
    # The close writes every setting: the content chosen (the tileset found in share/tovani, by name).
    check "settings written to XDG_DATA_HOME/tovani" grep -q '^Tileset=[[:alnum:]]' "$XDG_DATA_HOME/tovani/Tovani.ini"
    check "no settings in the installed tree" test ! -e "$SHARE/Tovani.ini" -a ! -e "$GAMES_DIR/Tovani.ini"
    check "no content problem reported" sh -c "! grep -qi 'not found' '$WORK/game.log'"
else
    echo "skip the game's start: no display"
fi

if [ "$failures" -ne 0 ]; then
    echo "$failures failure(s)"
    exit 1
fi
echo "all checks passed"
