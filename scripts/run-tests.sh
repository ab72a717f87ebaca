#!/bin/bash
# Builds and runs every test: the formatting checks, the release suite (unit, end-to-end,
# VRML conformance, glTF reader and browser tests and the fuzz corpora), the same suite under
# AddressSanitizer and UBSan, the install and package check, and a bounded fuzzing run of
# every target.
# Usage: bash scripts/run-tests.sh [fuzz seconds per target, default 60]
set -euo pipefail

repo_root=$(cd "$(dirname "$0")/.." && pwd)
cd "$repo_root"
fuzz_seconds=${1:-60}

echo "== formatting (clang-format)"
git ls-files -z '*.cpp' '*.hpp' | xargs -0 clang-format --dry-run --Werror

echo "== formatting and lint of the HTML viewer (prettier, eslint)"
(cd html/viewer && npx --no-install prettier --check '*.js' style.css && npx --no-install eslint .)

echo "== release build and tests"
cmake --workflow --preset release

echo "== sanitizer build and tests (ASan + UBSan, leak checking on)"
cmake --workflow --preset sanitize

echo "== install and package"
bash scripts/check-install.sh build/release

if [ "$fuzz_seconds" -gt 0 ] && [ -f fuzz/run_fuzz.sh ]; then
    echo "== bounded fuzzing, ${fuzz_seconds}s per target"
    bash fuzz/run_fuzz.sh "$fuzz_seconds"
fi
echo "all tests passed"
