#!/usr/bin/env bash
# Instruction profile of the converter (Release build) on a generated layout, edges on.
#
# Usage: bash bench/callgrind.sh [NODES] [AVERAGE_DEGREE]     (default 20000 6)
# Needs valgrind. Leaves the raw profile in the data directory for callgrind_annotate.
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${BENCH_BUILD_DIR:-$repo/build-bench}"
data="${BENCH_DATA_DIR:-$repo/bench/data}"
nodes="${1:-20000}"
degree="${2:-6}"
seed="${BENCH_SEED:-1}"

cmake -S "$repo" -B "$build" -DCMAKE_BUILD_TYPE=Release -DLAYOUT2VRML_BENCH=ON \
    -DLAYOUT2VRML_TESTS=OFF >/dev/null
cmake --build "$build" -j2 --target layout2vrml generate_layout >/dev/null

mkdir -p "$data"
input="$data/layout-$nodes-$degree-seed$seed.3dlayout"
if [[ ! -s "$input" || "$build/bench/generate_layout" -nt "$input" ]]; then
    "$build/bench/generate_layout" "$nodes" "$degree" "$seed" "$input"
fi
profile="$data/callgrind-$nodes-$degree.out"
scene="$data/callgrind.wrl"
valgrind --tool=callgrind --callgrind-out-file="$profile" "$build/layout2vrml" -in "$input" \
    -out "$scene" 2>&1 | grep 'refs:'
rm -f "$scene"

table() { sed -n '/file:function/,$p' | sed 's/ \[[^]]*\]$//' | head -"$1"; }
echo "== exclusive (self) instructions"
callgrind_annotate "$profile" | table 22
echo "== inclusive instructions"
callgrind_annotate --inclusive=yes "$profile" | table 30
