#!/bin/sh
# Render docs/big-graph.png, the README's picture of a graph with 10,400 nodes: the layout of
# docs/make_knot_layout.py converted to .glb and drawn by three.js (docs/view_scene.html) in
# headless Chromium with software GL; and docs/communities.png, the 10,800 nodes of
# docs/make_clusters_layout.py converted with -color community.
#
# Usage, from anywhere in the repository:
#     sh docs/render_glb_picture.sh
# Environment:
#     BUILD_DIR  build directory (default: build/release, the release preset's tree)
#     PORT       loopback port for the page (default: 8765)
# Needs python3, Debian's chromium, and the glTF readers that scripts/install-deps.sh installs.
set -eu

repo_root=$(cd "$(dirname "$0")/.." && pwd)
cd "$repo_root"
build_dir=${BUILD_DIR:-build/release}
picture=docs/big-graph.png

work_dir=$(mktemp -d)
scene=docs/.big-graph.glb
coloured=docs/.communities.glb
cleanup() {
    rm -rf "$work_dir" "$scene" "$coloured"
}
trap cleanup EXIT INT TERM

cmake --build "$build_dir" --target layout2vrml > /dev/null
python3 docs/make_knot_layout.py > "$work_dir/knot.3dlayout"
"$build_dir/layout2vrml" -in "$work_dir/knot.3dlayout" -out "$scene"
python3 docs/make_clusters_layout.py > "$work_dir/clusters.3dlayout"
"$build_dir/layout2vrml" -in "$work_dir/clusters.3dlayout" -out "$coloured" -color community

. docs/screenshot_page.sh
# The camera stands back from the file's own (0, 0, 20) so that the whole knot is in view.
screenshot_page "left=.big-graph.glb&distance=42" "$picture" 800 600
echo "wrote $picture"
screenshot_page "left=.communities.glb&distance=38" docs/communities.png 800 600
echo "wrote docs/communities.png"
