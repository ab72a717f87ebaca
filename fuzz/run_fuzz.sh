#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (AddressSanitizer + UBSan) and runs them one after
# another on a work copy of their seed corpora, 3 x SECONDS (default 60) in all, split evenly
# (the budget of the first three targets at SECONDS each). Exits non-zero when any target finds
# a crash, a sanitizer report, a timeout or a broken invariant; the failing input is left in
# fuzz/corpus-work/artifacts/<target>/.
#
# Usage: fuzz/run_fuzz.sh [SECONDS]
set -u

seconds="${1:-60}"
if ! [[ "$seconds" =~ ^[0-9]+$ ]] || [ "$seconds" -lt 1 ]; then
    echo "usage: $0 [SECONDS]" >&2
    exit 2
fi

fuzz_dir="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
repo_dir="$(dirname "$fuzz_dir")"
build_dir="$repo_dir/build-fuzz"
work_dir="$fuzz_dir/corpus-work"

pick_compiler() {
    for candidate in "$@"; do
        if command -v "$candidate" >/dev/null 2>&1; then
            echo "$candidate"
            return 0
        fi
    done
    return 1
}

cc="$(pick_compiler clang-14 clang)" || { echo "clang is not installed" >&2; exit 2; }
cxx="$(pick_compiler clang++-14 clang++)" || { echo "clang++ is not installed" >&2; exit 2; }

source "$fuzz_dir/targets.sh"
targets=("${all_targets[@]}")
per_target=$((3 * seconds / ${#targets[@]}))
[ "$per_target" -ge 1 ] || per_target=1

CC="$cc" CXX="$cxx" cmake -S "$repo_dir" -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DLAYOUT2VRML_FUZZ=ON -DLAYOUT2VRML_TESTS=OFF -DLAYOUT2VRML_BENCH=OFF >/dev/null || exit 2
cmake --build "$build_dir" -j2 --target "${targets[@]/%/_fuzz}" || exit 2

failed=()
for target in "${targets[@]}"; do
    corpus="$work_dir/$target"
    artifacts="$work_dir/artifacts/$target"
    mkdir -p "$corpus" "$artifacts"
    # The work corpus keeps what earlier runs found; the seeds are refreshed every time.
    cp "$fuzz_dir/corpus/$target"/* "$corpus"/
    echo "== fuzzing $target for ${per_target}s"
    "$build_dir/fuzz/${target}_fuzz" "$corpus" \
        -max_total_time="$per_target" \
        -max_len="${max_len[$target]}" \
        -rss_limit_mb=2048 \
        -timeout=20 \
        -dict="$fuzz_dir/${dictionary[$target]}" \
        -artifact_prefix="$artifacts/" \
        -print_final_stats=1 \
        2>"$work_dir/$target.log"
    status=$?
    grep -E '^#[0-9]+[[:space:]]+DONE|^stat::number_of_executed_units|^stat::peak_rss_mb' \
        "$work_dir/$target.log"
    if [ "$status" -ne 0 ]; then
        echo "!! $target failed (status $status); log: $work_dir/$target.log" >&2
        grep -E 'INVARIANT FAILED|detail:|ERROR: (libFuzzer|AddressSanitizer)|runtime error|Test unit written' \
            "$work_dir/$target.log" >&2
        failed+=("$target")
    fi
done

if [ "${#failed[@]}" -ne 0 ]; then
    echo "fuzzing found failures in: ${failed[*]}" >&2
    exit 1
fi
echo "fuzzing found no failures"
