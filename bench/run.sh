#!/usr/bin/env bash
# Benchmarks the converter on generated layouts against the write floor (the same number of
# bytes written with write(2) from memory, same file system, measured in the same run) and a
# plain stdio converter, whose output must be byte for byte the same.
#
# Usage: bash bench/run.sh [--quick]
#   --quick   fewer runs, no large size
# Environment (optional): BENCH_BUILD_DIR, BENCH_DATA_DIR, BENCH_MEDIUM_NODES,
#   BENCH_MEDIUM_DEGREE, BENCH_LARGE_NODES, BENCH_LARGE_DEGREE, BENCH_SEED, BENCH_RUNS,
#   BENCH_LARGE_RUNS.
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${BENCH_BUILD_DIR:-$repo/build-bench}"
data="${BENCH_DATA_DIR:-$repo/bench/data}"
medium_nodes="${BENCH_MEDIUM_NODES:-200000}"
medium_degree="${BENCH_MEDIUM_DEGREE:-6}"
large_nodes="${BENCH_LARGE_NODES:-1000000}"
large_degree="${BENCH_LARGE_DEGREE:-8}"
seed="${BENCH_SEED:-1}"
runs="${BENCH_RUNS:-9}"
large_runs="${BENCH_LARGE_RUNS:-5}"
with_large=1

for argument in "$@"; do
    case "$argument" in
    --quick)
        runs="${BENCH_RUNS:-3}"
        with_large=0
        ;;
    *)
        echo "usage: bash bench/run.sh [--quick]" >&2
        exit 2
        ;;
    esac
done

converter="$build/layout2vrml"
generator="$build/bench/generate_layout"
floor_writer="$build/bench/write_floor"
runner="$build/bench/measure_run"
reference="$build/bench/reference_stdio"
output="$data/scene.wrl"
floor_output="$data/floor.wrl"
reference_output="$data/reference.wrl"

cleanup() { rm -f "$output" "$floor_output" "$reference_output"; }
trap cleanup EXIT

build_tools() {
    echo "== building (Release) in $build"
    cmake -S "$repo" -B "$build" -DCMAKE_BUILD_TYPE=Release -DLAYOUT2VRML_BENCH=ON \
        -DLAYOUT2VRML_TESTS=OFF >/dev/null
    cmake --build "$build" -j2 --target layout2vrml generate_layout write_floor measure_run \
        reference_stdio >/dev/null
}

describe_machine() {
    echo "== machine"
    echo "cores: $(nproc)"
    echo "cpu: $(lscpu | sed -n 's/^Model name:[[:space:]]*//p')"
    echo "file system of $data: $(df -T "$data" | awk 'NR == 2 { print $2 " on " $1 }')"
    local revision
    revision="$(git -C "$repo" rev-parse --short HEAD 2>/dev/null || echo unknown)"
    if ! git -C "$repo" diff --quiet HEAD -- app layout vrml 2>/dev/null; then
        revision+=" with uncommitted changes in app/, layout/ or vrml/"
    fi
    echo "converter: $revision"
    echo "load average at start: $(cut -d' ' -f1-3 /proc/loadavg)"
}

# Prints the input path for NODES DEGREE, generating it when missing or older than the tool.
input_for() {
    local path="$data/layout-$1-$2-seed$seed.3dlayout"
    if [[ ! -s "$path" || "$generator" -nt "$path" ]]; then
        echo "== generating $path" >&2
        "$generator" "$1" "$2" "$seed" "$path.part"
        mv "$path.part" "$path"
    fi
    echo "$path"
}

# Runs a command under the runner; prints "wall user sys peak_rss_kib status".
measure() {
    local result
    if ! result="$("$runner" "$@")"; then
        echo "failed: $*" >&2
        exit 1
    fi
    echo "$result"
}

# Reads result lines on standard input; prints "median min max cpu_median peak_rss_kib
# user_median system_median" (cpu is user + system).
summarise() {
    awk '
        function sortUp(values, count,    i, j, v) {
            for (i = 2; i <= count; i++) {
                v = values[i]
                for (j = i - 1; j >= 1 && values[j] > v; j--) values[j + 1] = values[j]
                values[j + 1] = v
            }
        }
        function median(values, count) {
            return count % 2 ? values[(count + 1) / 2] : (values[count / 2] + values[count / 2 + 1]) / 2
        }
        { wall[NR] = $1; user[NR] = $2; sys[NR] = $3; cpu[NR] = $2 + $3; if ($4 > rss) rss = $4 }
        END {
            sortUp(wall, NR); sortUp(cpu, NR); sortUp(user, NR); sortUp(sys, NR)
            printf "%.4f %.4f %.4f %.4f %d %.4f %.4f\n", median(wall, NR), wall[1], wall[NR],
                median(cpu, NR), rss, median(user, NR), median(sys, NR)
        }'
}

# One unmeasured run of each, so that the first measured run finds the page cache and the
# kernel's free memory in the same state as the later ones.
warm_up() {
    local input="$1"
    shift
    rm -f "$output"
    measure "$converter" -in "$input" -out "$output" "$@" >/dev/null
    measure "$floor_writer" "$(stat -c %s "$output")" "$floor_output" >/dev/null
    rm -f "$output" "$floor_output"
}

# Fields of the last summary, by name.
declare -A last
# Benchmarks one configuration: LABEL RUNS INPUT [CONVERTER OPTIONS...]. The converter and the
# floor alternate so that both see the same background load. The last run's output is kept
# for the comparison with the reference.
bench_config() {
    local label="$1" count="$2" input="$3"
    shift 3
    local converter_results="" floor_results="" bytes=0 run load
    load="$(cut -d' ' -f1 /proc/loadavg)"
    warm_up "$input" "$@"
    for ((run = 1; run <= count; run++)); do
        rm -f "$output"
        converter_results+="$(measure "$converter" -in "$input" -out "$output" "$@")"$'\n'
        bytes="$(stat -c %s "$output")"
        if ((run < count)); then
            rm -f "$output"
        fi
        floor_results+="$(measure "$floor_writer" "$bytes" "$floor_output")"$'\n'
        rm -f "$floor_output"
    done
    local median low high cpu rss user sys floor_median floor_low floor_high floor_sys
    read -r median low high cpu rss user sys < <(printf '%s' "$converter_results" | summarise)
    read -r floor_median floor_low floor_high _ _ _ floor_sys \
        < <(printf '%s' "$floor_results" | summarise)
    last=([median]="$median" [cpu]="$cpu" [user]="$user" [rss]="$rss" [bytes]="$bytes"
        [floor]="$floor_median")
    awk -v label="$label" -v runs="$count" -v load="$load" -v m="$median" -v lo="$low" \
        -v hi="$high" -v cpu="$cpu" -v user="$user" -v sys="$sys" -v rss="$rss" \
        -v bytes="$bytes" -v fm="$floor_median" -v flo="$floor_low" -v fhi="$floor_high" \
        -v fsys="$floor_sys" 'BEGIN {
            printf "%-22s runs %d  wall %.3f s (%.3f-%.3f)  cpu %.3f s (user %.3f, sys %.3f)  peak RSS %.1f MiB  load %s\n",
                label, runs, m, lo, hi, cpu, user, sys, rss / 1024, load
            printf "%-22s output %.1f MB at %.0f MB/s  floor %.3f s (%.3f-%.3f, sys %.3f)  ratio %.2f  %s\n",
                "", bytes / 1e6, bytes / 1e6 / m, fm, flo, fhi, fsys, m / fm,
                (m / fm <= 2.5 ? "PASS (<= 2.5)" : "FAIL (> 2.5)")
        }'
}

# Runs the stdio converter once on the configuration just measured and compares outputs.
compare_reference() {
    local input="$1"
    shift
    local result wall
    result="$(measure "$reference" -in "$input" -out "$reference_output" "$@")"
    wall="${result%% *}"
    local identity="IDENTICAL"
    if ! cmp -s "$output" "$reference_output"; then
        identity="DIFFERENT ($(cmp "$output" "$reference_output" 2>&1 || true))"
    fi
    awk -v w="$wall" -v m="${last[median]}" -v f="${last[floor]}" -v id="$identity" 'BEGIN {
        printf "%-22s stdio reference %.3f s  ratio to floor %.2f  converter %.1fx faster  bytes %s\n",
            "", w, w / f, w / m, id
    }'
    rm -f "$output" "$reference_output"
    if [[ "$identity" != IDENTICAL ]]; then
        differences=$((differences + 1))
    fi
}

bench_medium() {
    local input edges
    input="$(input_for "$medium_nodes" "$medium_degree")"
    edges="$(sed -n '2p' "$input" | awk '{ print $2 }')"
    echo "== medium: $medium_nodes nodes, average degree $medium_degree ($edges edges), $runs runs"
    bench_config "edges on" "$runs" "$input"
    medium_wall_per_edge="$(awk -v t="${last[median]}" -v e="$edges" 'BEGIN { print t / e }')"
    medium_cpu_per_edge="$(awk -v t="${last[cpu]}" -v e="$edges" 'BEGIN { print t / e }')"
    medium_user_per_edge="$(awk -v t="${last[user]}" -v e="$edges" 'BEGIN { print t / e }')"
    compare_reference "$input"
    bench_config "edges off" "$runs" "$input" -showedge false
    compare_reference "$input" -showedge false
    bench_config "labels on" "$runs" "$input" -showlabel true
    compare_reference "$input" -showlabel true
}

bench_large() {
    local input edges
    input="$(input_for "$large_nodes" "$large_degree")"
    edges="$(sed -n '2p' "$input" | awk '{ print $2 }')"
    echo "== large: $large_nodes nodes, average degree $large_degree ($edges edges), $large_runs runs"
    bench_config "edges on" "$large_runs" "$input"
    rm -f "$output"
    awk -v t="${last[median]}" -v c="${last[cpu]}" -v e="$edges" -v mt="$medium_wall_per_edge" \
        -v mc="$medium_cpu_per_edge" -v u="${last[user]}" -v mu="$medium_user_per_edge" \
        -v rss="${last[rss]}" -v n="$large_nodes" 'BEGIN {
            ratio = (t / e) / mt
            printf "%-22s time per edge %.1f ns (medium %.1f ns): %.2fx  %s\n", "",
                t / e * 1e9, mt * 1e9, ratio, (ratio <= 1.2 ? "PASS (<= 1.2)" : "FAIL (> 1.2)")
            printf "%-22s cpu per edge %.1f ns (medium %.1f ns): %.2fx\n", "",
                c / e * 1e9, mc * 1e9, (c / e) / mc
            # The rest is kernel time in write(2), which grows once the kernel starts writing
            # gigabytes of dirty pages back while the converter still writes.
            printf "%-22s user cpu per edge %.1f ns (medium %.1f ns): %.2fx\n", "",
                u / e * 1e9, mu * 1e9, (u / e) / mu
            limit = 40 * n + 4 * (n + 2 * e) + 32 * 1048576
            printf "%-22s peak RSS %.1f MiB, limit 40 B/node + 4 B/slot + 32 MiB = %.1f MiB  %s\n",
                "", rss / 1024, limit / 1048576, (rss * 1024 <= limit ? "PASS" : "FAIL")
        }'
}

differences=0
mkdir -p "$data"
build_tools
describe_machine
bench_medium
if ((with_large)); then
    bench_large
fi
echo "load average at end: $(cut -d' ' -f1-3 /proc/loadavg)"
if ((differences > 0)); then
    echo "$differences configuration(s) differ from the stdio reference" >&2
    exit 1
fi
