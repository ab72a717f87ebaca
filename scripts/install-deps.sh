#!/bin/bash
# Installs the Debian packages that building, testing, fuzzing and packaging need.
# Run as root on a fresh Debian 12 machine; packages already present are left alone.
set -euo pipefail

packages=(
    cmake g++ make                 # build
    libgtest-dev libgmock-dev      # unit and end-to-end tests
    libcoin-dev                    # conformance test: a real VRML97 reader
    clang libclang-rt-14-dev llvm  # libFuzzer targets and sanitizers
    libbenchmark-dev               # micro-benchmarks
    file dpkg-dev                  # package check
)

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
