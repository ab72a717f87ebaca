#!/bin/sh
# Render docs/big-graph.png, the README's picture of a graph with 10,400 nodes: the layout of
# docs/make_knot_layout.py converted to .glb and drawn by three.js (docs/view_scene.html) in
# headless Chromium with software GL.
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
port=${PORT:-8765}
picture=docs/big-graph.png

work_dir=$(mktemp -d)
scene=docs/.big-graph.glb
server_pid=
cleanup() {
    [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null
    rm -rf "$work_dir" "$scene"
}
trap cleanup EXIT INT TERM

cmake --build "$build_dir" --target layout2vrml > /dev/null
python3 docs/make_knot_layout.py > "$work_dir/knot.3dlayout"
"$build_dir/layout2vrml" -in "$work_dir/knot.3dlayout" -out "$scene"

python3 -m http.server "$port" --bind 127.0.0.1 > "$work_dir/server.log" 2>&1 &
server_pid=$!
sleep 1
# The camera stands back from the file's own (0, 0, 20) so that the whole knot is in view.
chromium --headless=new --no-sandbox --disable-gpu --use-angle=swiftshader \
    --enable-unsafe-swiftshader --disable-quic --no-first-run --disable-background-networking \
    --disable-component-update --disable-sync --user-data-dir="$work_dir/profile" \
    --window-size=800,600 --hide-scrollbars --virtual-time-budget=60000 \
    --screenshot="$repo_root/$picture" \
    "http://127.0.0.1:$port/docs/view_scene.html?left=.big-graph.glb&distance=42" \
    > "$work_dir/chromium.log" 2>&1
echo "wrote $picture"
