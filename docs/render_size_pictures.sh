#!/bin/sh
# Render docs/size-before.png and docs/size-after.png, the README's pictures of -size auto: the
# 10,800 nodes and 101,254 local edges of docs/make_clusters_layout.py converted to .glb with
# the fitted sizes and with -size auto (0.19 here), drawn by three.js (docs/view_scene.html) in
# headless Chromium with software GL from the same place.
#
# Usage, from anywhere in the repository:
#     sh docs/render_size_pictures.sh
# Environment:
#     BUILD_DIR  build directory (default: build/release, the release preset's tree)
#     PORT       loopback port for the page (default: 8765)
# Needs python3, Debian's chromium, and the glTF readers that scripts/install-deps.sh installs.
set -eu

repo_root=$(cd "$(dirname "$0")/.." && pwd)
cd "$repo_root"
build_dir=${BUILD_DIR:-build/release}

work_dir=$(mktemp -d)
cleanup() {
    rm -rf "$work_dir" docs/.size-before.glb docs/.size-after.glb
}
trap cleanup EXIT INT TERM

cmake --build "$build_dir" --target layout2vrml > /dev/null
python3 docs/make_clusters_layout.py > "$work_dir/clusters.3dlayout"
"$build_dir/layout2vrml" -in "$work_dir/clusters.3dlayout" -out docs/.size-before.glb
"$build_dir/layout2vrml" -in "$work_dir/clusters.3dlayout" -out docs/.size-after.glb -size auto

. docs/screenshot_page.sh
for which in before after; do
    # Farther than the file's (0, 0, 20), so that the whole ring is in view.
    screenshot_page "left=.size-$which.glb&distance=38" "docs/size-$which.png" 640 480
    echo "wrote docs/size-$which.png"
done
