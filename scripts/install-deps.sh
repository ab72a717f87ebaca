#!/bin/bash
# Installs the Debian packages that building, testing, fuzzing and packaging need, and the npm
# packages, pinned in their package-lock.json files: the glTF readers (tests/gltf), the browser
# driver (tests/browser) and the viewer's formatter and linter (html/viewer).
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
    chromium fonts-dejavu-core     # browser tests of the HTML viewer
    firefox-esr xvfb libgl1-mesa-dri
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
# npm ci in FOLDER unless its node_modules is complete and newer than its lock file.
install_node_packages() {
    local name="$1" folder="$repo_root/$1"
    shift
    local package
    for package in "$@"; do
        if [ ! -d "$folder/node_modules/$package" ] ||
            [ "$folder/package-lock.json" -nt "$folder/node_modules" ]; then
            echo "installing the npm packages of $name (npm ci)"
            npm ci --prefix "$folder" --no-audit --no-fund --loglevel=error
            return
        fi
    done
}
install_node_packages tests/gltf three gltf-validator
install_node_packages tests/browser playwright-core pngjs
install_node_packages html/viewer eslint prettier @eslint/js globals
