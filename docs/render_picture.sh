#!/bin/sh
# Render docs/example.png, the picture of examples/karate.3dlayout shown in the README, and
# docs/merged-view3dscene.png, the same example converted with -merge true.
#
# Usage, from anywhere in the repository:
#     sh docs/render_picture.sh
# Environment:
#     BUILD_DIR  build directory, relative to the repository root or absolute (default: build/release, the release preset's tree)
#     JOBS       parallel build jobs (default: 2)
# Needs the Debian packages cmake, g++, xvfb (for xvfb-run) and view3dscene.
#
# The converter is built, the example converted with edges and without labels
# (node numbers crowd the centre of this graph and dark blue reads poorly on
# black), and view3dscene takes an anti-aliased screenshot from the scene's own
# Viewpoint under a virtual X server. The viewer logs to a file rather than the
# terminal, so its warnings are copied out, and a complaint about the scene
# file fails the run.
set -eu

repo_root=$(cd "$(dirname "$0")/.." && pwd)
cd "$repo_root"

build_dir=${BUILD_DIR:-build/release}
jobs=${JOBS:-2}
input=examples/karate.3dlayout
geometry=800x600

work_dir=$(mktemp -d)
trap 'rm -rf "$work_dir"' EXIT INT TERM

# Reuse an existing configuration as it is; a new one skips the tests.
if [ ! -f "$build_dir/CMakeCache.txt" ]; then
    cmake -S . -B "$build_dir" -DLAYOUT2VRML_TESTS=OFF
fi
cmake --build "$build_dir" --target layout2vrml -j "$jobs"

# Converts the example with OPTIONS and renders it into PICTURE.
render() {
    picture=$1
    shift
    scene="$work_dir/karate.wrl"
    "$build_dir/layout2vrml" -in "$input" -out "$scene" -showedge true "$@"

    # A private config and cache keep user settings out of the picture and
    # leave nothing behind in the home directory.
    rm -rf "$work_dir/config" "$work_dir/cache" "$work_dir/example.png"
    XDG_CONFIG_HOME="$work_dir/config" XDG_CACHE_HOME="$work_dir/cache" \
        xvfb-run -a view3dscene "$scene" --geometry "$geometry" --anti-alias 4 \
        --screenshot 0 "$work_dir/example.png"

    log="$work_dir/config/view3dscene/view3dscene.log"
    if [ -f "$log" ] && grep -i 'warning' "$log" >&2; then
        if grep -i 'warning' "$log" | grep -q 'VRML\|X3D'; then
            echo "view3dscene reported problems with the scene file" >&2
            exit 1
        fi
    fi

    if [ ! -s "$work_dir/example.png" ]; then
        echo "view3dscene wrote no screenshot" >&2
        exit 1
    fi
    cp "$work_dir/example.png" "$picture"
    echo "wrote $picture ($(wc -c <"$picture") bytes)"
}

render docs/example.png
render docs/merged-view3dscene.png -merge true
