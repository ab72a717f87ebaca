#!/bin/sh
# Render docs/merged.png: examples/karate.3dlayout as the per-element VRML scene (left) and
# as the merged one (-merge true, right), both read by three.js's VRMLLoader and drawn side
# by side (docs/view_scene.html) in headless Chromium with software GL, from the scenes'
# viewpoint, so a reader sees that they look alike.
#
# Usage, from anywhere in the repository:
#     sh docs/render_merged_picture.sh
# Environment:
#     BUILD_DIR  build directory (default: build/release, the release preset's tree)
#     PORT       loopback port for the page (default: 8765)
# Needs python3, Debian's chromium, and the glTF readers that scripts/install-deps.sh installs.
set -eu

repo_root=$(cd "$(dirname "$0")/.." && pwd)
cd "$repo_root"
build_dir=${BUILD_DIR:-build/release}
picture=docs/merged.png

work_dir=$(mktemp -d)
cleanup() {
    rm -rf "$work_dir" docs/.per-element.wrl docs/.merged.wrl
}
trap cleanup EXIT INT TERM

cmake --build "$build_dir" --target layout2vrml > /dev/null
"$build_dir/layout2vrml" -in examples/karate.3dlayout -out docs/.per-element.wrl
"$build_dir/layout2vrml" -in examples/karate.3dlayout -out docs/.merged.wrl -merge true

. docs/screenshot_page.sh
screenshot_page "left=.per-element.wrl&right=.merged.wrl" "$picture" 1200 450
echo "wrote $picture"
