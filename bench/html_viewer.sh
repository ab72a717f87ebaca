#!/usr/bin/env bash
# What a user waits for with the HTML viewer, on layouts with local edges (clustered nodes,
# each joined to its nearest; average degree 6): the page's size against its raw data, the
# conversion time against the write floor of the same bytes (medians of BENCH_RUNS), and in
# headless Chromium (Debian's, software GL, 800x600, the file's view) the time to the page's
# first frame and of a frame while it turns; for comparison the instanced .glb of the same
# layout drawn by three.js in the same browser. Every load is capped at 300 s.
#
# Usage: bash bench/html_viewer.sh
# Environment (optional): BENCH_BUILD_DIR, BENCH_DATA_DIR, BENCH_SIZES (default
#   "10000 200000 1000000"), BENCH_GLB_SIZES (default "10000 200000"), BENCH_RUNS (default 3).
# Needs Debian's chromium and the npm packages of tests/gltf and tests/browser
# (scripts/install-deps.sh).
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${BENCH_BUILD_DIR:-$repo/build-bench}"
data="${BENCH_DATA_DIR:-$repo/bench/data}"
sizes="${BENCH_SIZES:-10000 200000 1000000}"
glb_sizes="${BENCH_GLB_SIZES:-10000 200000}"
runs="${BENCH_RUNS:-3}"
degree=6
seed=1
converter="$build/layout2vrml"
runner="$build/bench/measure_run"
generator="$build/bench/generate_layout"
floor="$build/bench/write_floor"
work="$(mktemp -d "${BENCH_WORK_DIR:-$repo/bench/data}/html.XXXXXX")"
trap 'rm -rf "$work"' EXIT

cmake -S "$repo" -B "$build" -DCMAKE_BUILD_TYPE=Release -DLAYOUT2VRML_BENCH=ON \
    -DLAYOUT2VRML_TESTS=OFF >/dev/null
cmake --build "$build" -j2 --target layout2vrml generate_layout measure_run write_floor >/dev/null
mkdir -p "$data"
echo "== machine: $(nproc) cores, $(lscpu | sed -n 's/^Model name:[[:space:]]*//p'), $(chromium --version 2>/dev/null | head -1), converter $(git -C "$repo" rev-parse --short HEAD 2>/dev/null || echo unknown)"


source "$repo/bench/common.sh"

printf '\n| nodes | edges | page | raw data | conversion | write floor | first frame | frame while turning | .glb in three.js: first frame |\n'
printf '|---|---|---|---|---|---|---|---|---|\n'
for nodes in $sizes; do
    input="$(input_for "$nodes" clustered)"
    edges="$(sed -n '2p' "$input" | awk '{ print $2 }')"
    page="$work/scene.html"
    convert="$(for ((run = 1; run <= runs; run++)); do
        rm -f "$page"
        "$runner" "$converter" -in "$input" -out "$page" | cut -d' ' -f1
    done | median)"
    bytes="$(stat -c %s "$page")"
    written="$(for ((run = 1; run <= runs; run++)); do
        rm -f "$work/floor"
        "$runner" "$floor" "$bytes" "$work/floor" | cut -d' ' -f1
    done | median)"
    rm -f "$work/floor"
    drawn_edges="$(grep -o 'scene-data">[A-Za-z0-9+/]\{24\}' "$page" | cut -c13- | base64 -d | od -An -tu4 -j12 -N4 | tr -d ' ')"
    raw=$((24 + 16 * nodes + 8 * drawn_edges))
    read -r first turn <<<"$(node "$repo/bench/first_frame.mjs" html "$page")"
    glb_first="-"
    if [[ " $glb_sizes " == *" $nodes "* ]]; then
        "$converter" -in "$input" -out "$work/scene.glb"
        glb_first="$(node "$repo/bench/first_frame.mjs" glb "$work/scene.glb" | cut -d' ' -f1)"
        rm -f "$work/scene.glb"
    fi
    printf '| %s | %s | %.1f MB | %.1f MB | %.3f s | %.3f s | %s | %s | %s |\n' "$nodes" "$drawn_edges" \
        "$(awk -v s="$bytes" 'BEGIN { print s / 1e6 }')" "$(awk -v s="$raw" 'BEGIN { print s / 1e6 }')" \
        "$convert" "$written" "$first" "$turn" "$glb_first"
done
