#!/bin/sh
# Runs every fuzz target of a fuzz build for SECONDS seconds each, one after another, from seed
# corpora made of our own content, with a memory limit of 1 GB a run (an allocation past it is
# a finding). Prints executions and coverage per target; exits 1 when anything was found.
# Usage: scripts/run-fuzz.sh BUILD_DIR SECONDS [TARGET...]
set -u
BUILD=${1:?build folder}
SECONDS_EACH=${2:-60}
shift 2 || true
TARGETS=${*:-"lay_fuzz shp_fuzz tvg_fuzz ini_fuzz bmp_fuzz jpeg_fuzz midi_fuzz mod_fuzz"}
ROOT=$(cd "$(dirname "$0")/.." && pwd)

SEEDS="$BUILD/fuzz-seeds"
rm -rf "$SEEDS"
mkdir -p "$SEEDS/lay" "$SEEDS/shp" "$SEEDS/midi" "$SEEDS/mod" "$SEEDS/ini"
"$BUILD/fuzz/fuzz_seeds" "$SEEDS" "$BUILD/bin/Layouts" || exit 1
for f in "$BUILD"/bin/Layouts/*.lay; do [ -f "$f" ] && cp "$f" "$SEEDS/lay/"; done
for f in "$BUILD"/bin/Layouts/*.shp; do [ -f "$f" ] && cp "$f" "$SEEDS/shp/"; done
for f in "$BUILD"/bin/Musics/*.mid; do [ -f "$f" ] && cp "$f" "$SEEDS/midi/"; done
for f in "$BUILD"/bin/Musics/*.mod; do [ -f "$f" ] && cp "$f" "$SEEDS/mod/"; done
# The language files and the winnable table are INI files too.
cp "$ROOT"/content/Languages/*.txt "$ROOT"/content/Layouts/Winnable.ini "$SEEDS/ini/" 2>/dev/null

found=0
printf '%-10s %12s %8s %8s %s\n' target executions cov features findings > "$BUILD/fuzz-report.txt"
for t in $TARGETS; do
    name=${t%_fuzz}
    corpus="$BUILD/fuzz-corpus/$name"
    findings="$BUILD/fuzz-findings/$name"
    mkdir -p "$corpus" "$findings"
    log="$BUILD/fuzz-$name.log"
    echo "== $t for ${SECONDS_EACH}s"
    "$BUILD/fuzz/$t" -rss_limit_mb=1024 -malloc_limit_mb=1024 -max_total_time="$SECONDS_EACH" \
        -timeout=10 -print_final_stats=1 -artifact_prefix="$findings/" \
        "$corpus" "$SEEDS/$name" > "$log" 2>&1
    status=$?
    execs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' | tail -1)
    cov=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | grep -o '[0-9]*')
    ft=$(grep -o 'ft: [0-9]*' "$log" | tail -1 | grep -o '[0-9]*')
    n=$(ls "$findings" | wc -l)
    [ "$status" -ne 0 ] && [ "$n" -eq 0 ] && n="exit $status"
    printf '%-10s %12s %8s %8s %s\n' "$name" "${execs:-?}" "${cov:-?}" "${ft:-?}" "$n" \
        >> "$BUILD/fuzz-report.txt"
    if [ "$status" -ne 0 ] || [ "$(ls "$findings" | wc -l)" -ne 0 ]; then
        found=1
        grep -m1 -A12 'ERROR\|broken promise\|out-of-memory' "$log"
    fi
done
cat "$BUILD/fuzz-report.txt"
exit $found
