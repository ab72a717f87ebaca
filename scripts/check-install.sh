#!/bin/bash
# Checks that `cmake --install` and the Debian package put a working converter and its man
# page in place. Expects a configured and built release tree (default build/release).
set -euo pipefail

repo_root=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${1:-$repo_root/build/release}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

check_tree() {
    local root=$1
    "$root/bin/layout2vrml" -in "$repo_root/examples/karate.3dlayout" -out "$scratch/karate.wrl"
    head -1 "$scratch/karate.wrl" | grep -qx '#VRML V2.0 utf8'
    gzip -dc "$root/share/man/man1/layout2vrml.1.gz" | grep -q '^\.SH DIAGNOSTICS'
    rm "$scratch/karate.wrl"
}

echo "== cmake --install into a scratch prefix"
cmake --install "$build_dir" --prefix "$scratch/prefix" > /dev/null
check_tree "$scratch/prefix"

echo "== Debian package"
(cd "$build_dir" && cpack -G DEB > /dev/null)
package=$(ls "$build_dir"/layout2vrml_*.deb)
dpkg-deb --info "$package" > /dev/null
if [ "$(id -u)" = 0 ] && command -v dpkg > /dev/null; then
    dpkg -i "$package" > /dev/null
    check_tree /usr
    man -w layout2vrml > /dev/null 2>&1 || test -f /usr/share/man/man1/layout2vrml.1.gz
    dpkg -r layout2vrml > /dev/null
    echo "installed, ran and removed $(basename "$package")"
else
    dpkg-deb -x "$package" "$scratch/root"
    check_tree "$scratch/root/usr"
    echo "extracted and ran $(basename "$package") (not root: no dpkg -i)"
fi
