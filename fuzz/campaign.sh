#!/usr/bin/env bash
# A longer fuzzing campaign: runs each TARGET for SECONDS, one after another on one core, on a
# kept corpus (default fuzz/corpus-work/<target>, seeded from fuzz/corpus/<target>), merges
# what it found into that corpus (-merge=1) and reports, per target, the executions, the
# executions per second, the coverage and the findings. Builds with fuzz/run_fuzz.sh's setup
# (run it once first, e.g. `fuzz/run_fuzz.sh 1`, or pass an existing build-fuzz/).
#
# Usage: fuzz/campaign.sh [-d CORPUS_ROOT] [-r RUNS] TARGET... SECONDS
#   -r RUNS  stop each target after RUNS executions instead (SECONDS still bounds it)
set -u

fuzz_dir="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
repo_dir="$(dirname "$fuzz_dir")"
build_dir="${FUZZ_BUILD_DIR:-$repo_dir/build-fuzz}" # another build: FUZZ_BUILD_DIR
corpus_root="$fuzz_dir/corpus-work"
runs=-1

usage() {
    echo "usage: $0 [-d CORPUS_ROOT] [-r RUNS] TARGET... SECONDS" >&2
    exit 2
}

while getopts "d:r:" option; do
    case "$option" in
    d) corpus_root="$OPTARG" ;;
    r) runs="$OPTARG" ;;
    *) usage ;;
    esac
done
shift $((OPTIND - 1))
[ "$#" -ge 2 ] || usage
seconds="${!#}"
targets=("${@:1:$#-1}")
[[ "$seconds" =~ ^[0-9]+$ ]] && [ "$seconds" -ge 1 ] || usage

source "$fuzz_dir/targets.sh"
for target in "${targets[@]}"; do
    [ -n "${max_len[$target]:-}" ] || { echo "unknown target $target" >&2; exit 2; }
    [ -x "$build_dir/fuzz/${target}_fuzz" ] || { echo "build $target first (fuzz/run_fuzz.sh 1)" >&2; exit 2; }
done

report="$corpus_root/campaign-$(date -u +%Y%m%dT%H%M%SZ).txt"
mkdir -p "$corpus_root"
{
    echo "campaign $(date -u '+%Y-%m-%d %H:%M UTC') on $(uname -n), $(nproc) cores, one used"
    echo "target  seconds  executions  exec/s  coverage  features  corpus  findings  slow"
} | tee "$report"

failed=()
for target in "${targets[@]}"; do
    corpus="$corpus_root/$target"
    artifacts="$corpus_root/artifacts/$target"
    found="$corpus_root/found-$target"
    log="$corpus_root/$target.campaign.log"
    rm -rf "$found"
    mkdir -p "$corpus" "$artifacts" "$found"
    cp "$fuzz_dir/corpus/$target"/* "$corpus"/
    # Crashes, leaks, timeouts and out-of-memory inputs are findings; slow units are only noted.
    findings_in() { ls "$artifacts" | grep -cE '^(crash|leak|timeout|oom)-'; }
    before=$(findings_in)
    slow_before=$(ls "$artifacts" | grep -c '^slow-unit-')
    start=$(date +%s)
    # New inputs go to a fresh directory; the kept corpus is only read, then merged into.
    "$build_dir/fuzz/${target}_fuzz" "$found" "$corpus" \
        -max_total_time="$seconds" -runs="$runs" \
        -max_len="${max_len[$target]}" -rss_limit_mb=2048 -timeout=20 \
        -dict="$fuzz_dir/${dictionary[$target]}" \
        -artifact_prefix="$artifacts/" -print_final_stats=1 -print_pcs=0 \
        >"$log" 2>&1
    status=$?
    elapsed=$(($(date +%s) - start))
    "$build_dir/fuzz/${target}_fuzz" -merge=1 "$corpus" "$found" >"$log.merge" 2>&1
    rm -rf "$found"
    done_line=$(grep -E '^#[0-9]+[[:space:]]+DONE' "$log" | tail -1)
    [ -n "$done_line" ] || done_line=$(grep -E '^#[0-9]+' "$log" | grep -v MERGE | tail -1)
    executions=$(grep -E '^stat::number_of_executed_units' "$log" | awk '{print $2}')
    per_second=$(grep -E '^stat::average_exec_per_sec' "$log" | awk '{print $2}')
    coverage=$(sed -nE 's/.*cov: ([0-9]+).*/\1/p' <<<"$done_line")
    features=$(sed -nE 's/.*ft: ([0-9]+).*/\1/p' <<<"$done_line")
    findings=$(($(findings_in) - before))
    slow=$(($(ls "$artifacts" | grep -c '^slow-unit-') - slow_before))
    printf '%-9s %7s  %10s  %6s  %8s  %8s  %6s  %8s  %4s\n' "$target" "$elapsed" \
        "${executions:-?}" "${per_second:-?}" "${coverage:-?}" "${features:-?}" \
        "$(ls "$corpus" | wc -l)" "$findings" "$slow" | tee -a "$report"
    if [ "$status" -ne 0 ] || [ "$findings" -ne 0 ]; then
        grep -E 'INVARIANT FAILED|detail:|ERROR: (libFuzzer|AddressSanitizer)|runtime error|Test unit written' \
            "$log" >&2
        failed+=("$target")
    fi
done
echo "report: $report"
if [ "${#failed[@]}" -ne 0 ]; then
    echo "findings in: ${failed[*]} (inputs in $corpus_root/artifacts/)" >&2
    exit 1
fi
