#!/usr/bin/env bash
# The HTML viewer while the view turns, as a user feels it, on clustered layouts with local
# edges (average degree 6), without and with -showlabel true: first picture, first complete
# frame, a frame while a mouse drag turns the view, and the sample the page chose
# (bench/turn_frames.mjs; headless Chromium, software GL, 800x600, the file's view).
#
# Usage: bash bench/html_turn.sh
# Environment (optional): BENCH_BUILD_DIR, BENCH_DATA_DIR, BENCH_SIZES (default
#   "10000 200000 1000000"), BENCH_CONVERTER (default the build's layout2vrml: another build's
#   converter gives the figures before a change), BENCH_RUNS (default 1: with more, each figure
#   is the median of that many page loads).
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${BENCH_BUILD_DIR:-$repo/build-bench}"
data="${BENCH_DATA_DIR:-$repo/bench/data}"
sizes="${BENCH_SIZES:-10000 200000 1000000}"
runs="${BENCH_RUNS:-1}"
degree=6
seed=1
converter="${BENCH_CONVERTER:-$build/layout2vrml}"
generator="$build/bench/generate_layout"
mkdir -p "$data"
work="$(mktemp -d "${BENCH_WORK_DIR:-$data}/turn.XXXXXX")"
trap 'rm -rf "$work"' EXIT

source "$repo/bench/common.sh"

targets=(generate_layout)
[[ -n "${BENCH_CONVERTER:-}" ]] || targets+=(layout2vrml)
cmake -S "$repo" -B "$build" -DCMAKE_BUILD_TYPE=Release -DLAYOUT2VRML_BENCH=ON \
    -DLAYOUT2VRML_TESTS=OFF >/dev/null
cmake --build "$build" -j2 --target "${targets[@]}" >/dev/null
echo "== runs a figure: $runs (the median)"
echo "== machine: $(nproc) cores, $(lscpu | sed -n 's/^Model name:[[:space:]]*//p'), $(chromium --version 2>/dev/null | head -1), load average $(cut -d' ' -f1-3 /proc/loadavg)"

printf '\n| nodes | labels | first picture | first complete frame | frame while turning | sample (nodes) |\n'
printf '|---|---|---|---|---|---|\n'
for nodes in $sizes; do
    input="$(input_for "$nodes" clustered)"
    for labels in false true; do
        "$converter" -in "$input" -out "$work/scene.html" -showlabel "$labels"
        for ((run = 0; run < runs; ++run)); do
            node "$repo/bench/turn_frames.mjs" "$work/scene.html"
        done >"$work/runs"
        read -r picture first turn sample <<<"$(median_columns "$work/runs")"
        printf '| %s | %s | %s s | %s s | %s s | %s |\n' "$nodes" "$labels" "$picture" "$first" "$turn" "$sample"
    done
done
echo "== load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
