#!/usr/bin/env bash
# What node tables (-names) cost, on clustered layouts with local edges (average degree 6) and
# a generated table of three columns (name, group, score): the conversion's time and peak
# memory with and without the table (medians of BENCH_RUNS), the page's size against its raw
# data plus names, its first frame in headless Chromium (Debian's, software GL, 800x600) with
# and without names, and how long the search box takes to list suggestions for each key of a
# typed name (bench/suggest_latency.mjs).
#
# Usage: bash bench/names.sh
# Environment (optional): BENCH_BUILD_DIR, BENCH_DATA_DIR, BENCH_SIZES (default
#   "200000 1000000"), BENCH_RUNS (default 3).
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${BENCH_BUILD_DIR:-$repo/build-bench}"
data="${BENCH_DATA_DIR:-$repo/bench/data}"
sizes="${BENCH_SIZES:-200000 1000000}"
runs="${BENCH_RUNS:-3}"
degree=6
seed=1
converter="$build/layout2vrml"
runner="$build/bench/measure_run"
generator="$build/bench/generate_layout"
mkdir -p "$data"
work="$(mktemp -d "${BENCH_WORK_DIR:-$data}/names.XXXXXX")"
trap 'rm -rf "$work"' EXIT

cmake -S "$repo" -B "$build" -DCMAKE_BUILD_TYPE=Release -DLAYOUT2VRML_BENCH=ON \
    -DLAYOUT2VRML_TESTS=OFF >/dev/null
cmake --build "$build" -j2 --target layout2vrml generate_layout measure_run >/dev/null
mkdir -p "$data"
source "$repo/bench/common.sh"
echo "== machine: $(nproc) cores, $(lscpu | sed -n 's/^Model name:[[:space:]]*//p'), $(chromium --version 2>/dev/null | head -1), converter $(git -C "$repo" rev-parse --short HEAD 2>/dev/null || echo unknown)"

# A node table of NODES rows: names like gene symbols of varied length, 40 groups, a score.
table_for() {
    local path="$data/names-$1.csv"
    if [[ ! -s "$path" ]]; then
        awk -v n="$1" 'BEGIN {
            print "name,group,score"
            split("ALPHA BETA GAMMA DELTA KAPPA SIGMA OMEGA ZETA", stem, " ")
            for (i = 0; i < n; ++i) {
                printf "%s%d-%s,group %d,%.3f\n", stem[i % 8 + 1], i, substr("xyzw", 1, i % 4 + 1), (i * 7919) % 40, (i * 104729 % 100000) / 1000
            }
        }' > "$path.part" && mv "$path.part" "$path"
    fi
    echo "$path"
}

# Median wall seconds and peak RSS (MB) of converting with the given words.
convert_cost() {
    local out="$1"
    shift
    for ((run = 1; run <= runs; run++)); do
        rm -f "$out"
        "$runner" "$converter" "$@" -out "$out" | awk '{ print $1, $4 / 1024 }'
    done | sort -g | awk '{ t[NR] = $1; m[NR] = $2 } END { i = int((NR + 1) / 2); printf "%.3f s %.0f MB\n", t[i], m[i] }'
}

printf '\n| nodes | table | format | without names | with names | page | raw data + names | first frame without / with names |\n'
printf '|---|---|---|---|---|---|---|---|\n'
for nodes in $sizes; do
    input="$(input_for "$nodes" clustered)"
    table="$(table_for "$nodes")"
    table_mb="$(awk -v s="$(stat -c %s "$table")" 'BEGIN { printf "%.1f MB", s / 1e6 }')"
    for format in wrl html; do
        plain="$(convert_cost "$work/plain.$format" -in "$input")"
        named="$(convert_cost "$work/named.$format" -in "$input" -names "$table" -showlabel true)"
        page="-"
        raw="-"
        frames="-"
        if [[ "$format" == html ]]; then
            page="$(awk -v s="$(stat -c %s "$work/named.html")" 'BEGIN { printf "%.1f MB", s / 1e6 }')"
            edges="$(sed -n '/^[0-9]/{p;q}' "$input" | awk '{ print $2 }')"
            raw="$(awk -v n="$nodes" -v e="$edges" -v t="$(stat -c %s "$table")" \
                'BEGIN { printf "%.1f MB", (24 + 16 * n + 8 * e + t) / 1e6 }')"
            without="$(node "$repo/bench/first_frame.mjs" html "$work/plain.html" | cut -d' ' -f1)"
            with="$(node "$repo/bench/first_frame.mjs" html "$work/named.html" | cut -d' ' -f1)"
            frames="$without / $with"
            cp "$work/named.html" "$work/named-$nodes.html"
        fi
        printf '| %s | %s | .%s | %s | %s | %s | %s | %s |\n' "$nodes" "$table_mb" "$format" \
            "$plain" "$named" "$page" "$raw" "$frames"
    done
done

printf '\nSuggestions, milliseconds from a key to the list shown (typing "ALPHA12", then "xyz"):\n\n'
for nodes in $sizes; do
    echo "$nodes nodes: $(node "$repo/bench/suggest_latency.mjs" "$work/named-$nodes.html")"
done
