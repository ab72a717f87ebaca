#!/usr/bin/env bash
# What a user waits for with merged scenes (-merge true): random layouts of average degree 6
# converted to merged .wrl and .glb; file size, conversion time (median of BENCH_RUNS), three.js
# parse in Node, and for the VRML forms a desktop VRML viewer (view3dscene under xvfb-run)
# from start to its first screenshot. Every load is capped at 300 s.
#
# Usage: bash bench/merged_load_time.sh
# Environment (optional): BENCH_BUILD_DIR, BENCH_DATA_DIR, BENCH_SIZES (default
#   "10000 50000 200000"), BENCH_RUNS (default 3), BENCH_VIEWER_BASELINE=1 (also load the
#   per-element 10,000-node VRML scene in the viewer, for comparison; takes minutes).
# Needs the glTF readers of the tests (scripts/install-deps.sh) and, for the viewer column,
# Debian's view3dscene and xvfb.
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${BENCH_BUILD_DIR:-$repo/build-bench}"
data="${BENCH_DATA_DIR:-$repo/bench/data}"
sizes="${BENCH_SIZES:-10000 50000 200000}"
runs="${BENCH_RUNS:-3}"
degree=6
seed=1
converter="$build/layout2vrml"
runner="$build/bench/measure_run"
generator="$build/bench/generate_layout"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

cmake -S "$repo" -B "$build" -DCMAKE_BUILD_TYPE=Release -DLAYOUT2VRML_BENCH=ON \
    -DLAYOUT2VRML_TESTS=OFF >/dev/null
cmake --build "$build" -j2 --target layout2vrml generate_layout measure_run >/dev/null
mkdir -p "$data"
echo "== machine: $(nproc) cores, $(lscpu | sed -n 's/^Model name:[[:space:]]*//p'), node $(node --version), converter $(git -C "$repo" rev-parse --short HEAD 2>/dev/null || echo unknown)"

source "$repo/bench/common.sh"

# Seconds until COMMAND ends, or a word saying why it did not.
timed() {
    local start end status=0
    start=$(date +%s.%N)
    timeout 300 "$@" >"$work/out.log" 2>&1 || status=$?
    end=$(date +%s.%N)
    if ((status == 124)); then echo "> 300 s"; return; fi
    if ((status != 0)); then
        if grep -qi 'out of memory' "$work/out.log"; then echo "out of memory"; else echo "failed (status $status)"; fi
        return
    fi
    awk -v s="$start" -v e="$end" 'BEGIN { printf "%.2f s", e - s }'
}

viewer_time() {
    if ! command -v view3dscene >/dev/null || ! command -v xvfb-run >/dev/null; then
        echo "-"
        return
    fi
    rm -f "$work/shot.png"
    local took
    took="$(XDG_CONFIG_HOME="$work/config" XDG_CACHE_HOME="$work/cache" timed xvfb-run -a \
        view3dscene "$1" --geometry 800x600 --screenshot 0 "$work/shot.png")"
    [[ -s "$work/shot.png" || "$took" != *" s" || "$took" == ">"* ]] || took="no picture"
    echo "$took"
}

printf '\n| nodes | edges | scene | file | conversion | three.js parse | view3dscene to first picture |\n'
printf '|---|---|---|---|---|---|---|\n'
for nodes in $sizes; do
    input="$(input_for "$nodes")"
    edges="$(sed -n '2p' "$input" | awk '{ print $2 }')"
    for format in wrl glb; do
        output="$work/merged.$format"
        convert="$(for ((run = 1; run <= runs; run++)); do
            rm -f "$output"
            "$runner" "$converter" -in "$input" -out "$output" -merge true | cut -d' ' -f1
        done | median)"
        size="$(stat -c %s "$output")"
        parse="$(timed node "$repo/bench/parse_three.mjs" "$output")"
        viewer="-"
        [[ "$format" == wrl ]] && viewer="$(viewer_time "$output")"
        printf '| %s | %s | merged .%s | %.1f MB | %.3f s | %s | %s |\n' "$nodes" "$edges" \
            "$format" "$(awk -v s="$size" 'BEGIN { print s / 1e6 }')" "$convert" "$parse" "$viewer"
        rm -f "$output"
    done
done
if [[ "${BENCH_VIEWER_BASELINE:-0}" == 1 ]]; then
    input="$(input_for 10000)"
    "$converter" -in "$input" -out "$work/per-element.wrl"
    printf '| 10000 | %s | per-element .wrl | %.1f MB | | | %s |\n' \
        "$(sed -n '2p' "$input" | awk '{ print $2 }')" \
        "$(awk -v s="$(stat -c %s "$work/per-element.wrl")" 'BEGIN { print s / 1e6 }')" \
        "$(viewer_time "$work/per-element.wrl")"
fi
