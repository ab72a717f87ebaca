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
port=${PORT:-8765}
picture=docs/merged.png

work_dir=$(mktemp -d)
server_pid=
cleanup() {
    [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null
    rm -rf "$work_dir" docs/.per-element.wrl docs/.merged.wrl
}
trap cleanup EXIT INT TERM

cmake --build "$build_dir" --target layout2vrml > /dev/null
"$build_dir/layout2vrml" -in examples/karate.3dlayout -out docs/.per-element.wrl
"$build_dir/layout2vrml" -in examples/karate.3dlayout -out docs/.merged.wrl -merge true

python3 -m http.server "$port" --bind 127.0.0.1 > "$work_dir/server.log" 2>&1 &
server_pid=$!
sleep 1
chromium --headless=new --no-sandbox --disable-gpu --use-angle=swiftshader \
    --enable-unsafe-swiftshader --disable-quic --no-first-run --disable-background-networking \
    --disable-component-update --disable-sync --user-data-dir="$work_dir/profile" \
    --window-size=1200,450 --hide-scrollbars --virtual-time-budget=60000 \
    --screenshot="$repo_root/$picture" \
    "http://127.0.0.1:$port/docs/view_scene.html?left=.per-element.wrl&right=.merged.wrl&width=1200&height=450" \
    > "$work_dir/chromium.log" 2>&1
echo "wrote $picture"
