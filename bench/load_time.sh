#!/usr/bin/env bash
# What a user waits for before seeing a big graph: the conversion, then three.js parsing the
# scene in Node. Random layouts of average degree 6 at three sizes, each converted to .wrl
# and .glb. For .glb also the export alone (measure_export: the layout already read) against
# the write floor of the same number of bytes, alternating in the same run.
#
# Usage: bash bench/load_time.sh
# Environment (optional): BENCH_BUILD_DIR, BENCH_DATA_DIR, BENCH_SIZES (default
#   "10000 200000 1000000"), BENCH_RUNS (default 5), BENCH_VRML_PARSE_MAX_NODES (default
#   10000: three.js runs out of memory on larger VRML scenes; each try is capped at 300 s).
# Needs the glTF readers of the tests (scripts/install-deps.sh installs them).
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${BENCH_BUILD_DIR:-$repo/build-bench}"
data="${BENCH_DATA_DIR:-$repo/bench/data}"
sizes="${BENCH_SIZES:-10000 200000 1000000}"
runs="${BENCH_RUNS:-5}"
vrml_parse_max="${BENCH_VRML_PARSE_MAX_NODES:-10000}"
degree=6
seed=1

converter="$build/layout2vrml"
runner="$build/bench/measure_run"
exporter="$build/bench/measure_export"
floor_writer="$build/bench/write_floor"
generator="$build/bench/generate_layout"

cleanup() { rm -f "$data"/load-scene.* "$data"/load-floor.bin; }
trap cleanup EXIT

echo "== building (Release) in $build"
cmake -S "$repo" -B "$build" -DCMAKE_BUILD_TYPE=Release -DLAYOUT2VRML_BENCH=ON \
    -DLAYOUT2VRML_TESTS=OFF >/dev/null
cmake --build "$build" -j2 --target layout2vrml generate_layout write_floor measure_run \
    measure_export >/dev/null
mkdir -p "$data"
echo "== machine: $(nproc) cores, $(lscpu | sed -n 's/^Model name:[[:space:]]*//p'), $(df -T "$data" | awk 'NR == 2 { print $2 }'), node $(node --version), converter $(git -C "$repo" rev-parse --short HEAD 2>/dev/null || echo unknown)"

source "$repo/bench/common.sh"

# Prints "median wall seconds" of RUNS conversions of INPUT into OUTPUT.
conversion_time() {
    local input="$1" output="$2" run
    for ((run = 1; run <= runs; run++)); do
        rm -f "$output"
        "$runner" "$converter" -in "$input" -out "$output" | cut -d' ' -f1
    done | median
}

# Prints "export_median floor_median" for INPUT converted to OUTPUT (.glb), alternating.
export_against_floor() {
    local input="$1" output="$2" bytes run exports="" floors=""
    bytes="$(stat -c %s "$output")"
    for ((run = 1; run <= runs; run++)); do
        exports+="$("$exporter" "$input" "$output" 1 | cut -d' ' -f1)"$'\n'
        rm -f "$data/load-floor.bin"
        floors+="$("$runner" "$floor_writer" "$bytes" "$data/load-floor.bin" | cut -d' ' -f1)"$'\n'
    done
    rm -f "$data/load-floor.bin"
    echo "$(printf '%s' "$exports" | median) $(printf '%s' "$floors" | median)"
}

# Prints "seconds peak_MiB" of three.js parsing SCENE, or "- -" with a reason on failure.
parse_time() {
    local result
    if result="$( { /usr/bin/time -f '%M' timeout 300 node "$repo/bench/parse_three.mjs" "$1"; } 2>&1)"; then
        echo "$(echo "$result" | head -n 1 | cut -d' ' -f1) $(($(echo "$result" | tail -n 1) / 1024))"
    else
        echo "failed ($(echo "$result" | tail -n 2 | head -n 1 | cut -c1-40)) -"
    fi
}

printf '\n| nodes | edges | format | file | conversion | three.js parse | parse peak memory |\n'
printf '|---|---|---|---|---|---|---|\n'
floor_lines=""
for nodes in $sizes; do
    input="$(input_for "$nodes")"
    edges="$(sed -n '2p' "$input" | awk '{ print $2 }')"
    for format in wrl glb; do
        output="$data/load-scene.$format"
        convert="$(conversion_time "$input" "$output")"
        size="$(stat -c %s "$output")"
        if [[ "$format" == wrl && "$nodes" -gt "$vrml_parse_max" ]]; then
            parse="skipped -"
        else
            parse="$(parse_time "$output")"
        fi
        read -r parse_seconds parse_peak <<<"$parse"
        awk -v n="$nodes" -v e="$edges" -v f="$format" -v s="$size" -v c="$convert" \
            -v p="$parse_seconds" -v m="$parse_peak" 'BEGIN {
                printf "| %d | %d | .%s | %.1f MB | %.3f s | %s | %s |\n", n, e, f, s / 1e6, c,
                    (p ~ /^[0-9.]+$/ ? sprintf("%.2f s", p) : p), (m ~ /^[0-9]+$/ ? m " MiB" : m)
            }'
        if [[ "$format" == glb ]]; then
            read -r export_median floor_median < <(export_against_floor "$input" "$output")
            floor_lines+="$(awk -v n="$nodes" -v x="$export_median" -v f="$floor_median" 'BEGIN {
                printf "%d nodes: .glb export %.4f s, write floor %.4f s, ratio %.2f", n, x, f, x / f }')"$'\n'
        fi
        rm -f "$output"
    done
done
printf '\n%s' "$floor_lines"
