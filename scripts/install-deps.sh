#!/bin/bash
# Installs the Debian packages that building, testing, fuzzing and packaging need, and the npm
# packages (pinned in tests/gltf/package-lock.json) that read the glTF output back.
# Run as root on a fresh Debian 12 machine; packages already present are left alone.
set -euo pipefail

packages=(
    cmake g++ make git             # build
    clang-format                   # formatting check
    libgtest-dev libgmock-dev      # unit and end-to-end tests
    libcoin-dev                    # conformance test: a real VRML97 reader
    clang libclang-rt-14-dev llvm  # libFuzzer targets and sanitizers
    libbenchmark-dev               # micro-benchmarks
    libigraph-dev libarpack2-dev pkg-config  # community detection (-color community)
    python3-networkx               # an independent community finder the tests compare with
    file dpkg-dev                  # package check
)
# Node.js runs the glTF readers; a machine that already has it keeps its own.
if ! command -v node > /dev/null || ! command -v npm > /dev/null; then
    packages+=(nodejs npm)
fi

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done

if [ "${#missing[@]}" -gt 0 ]; then
    echo "installing: ${missing[*]}"
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

repo_root=$(cd "$(dirname "$0")/.." && pwd)
if [ ! -d "$repo_root/tests/gltf/node_modules/three" ] ||
    [ ! -d "$repo_root/tests/gltf/node_modules/gltf-validator" ] ||
    [ "$repo_root/tests/gltf/package-lock.json" -nt "$repo_root/tests/gltf/node_modules" ]; then
    echo "installing the glTF readers (npm ci in tests/gltf)"
    npm ci --prefix "$repo_root/tests/gltf" --no-audit --no-fund --loglevel=error
fi
