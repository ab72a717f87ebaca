# Sourced by the picture scripts: screenshot_page QUERY PICTURE WIDTH HEIGHT serves the
# repository on a loopback port and takes a screenshot of docs/view_scene.html?QUERY with
# headless Chromium (software GL) into PICTURE (a path from the repository root).
# Expects repo_root and work_dir to be set; PORT (default 8765) chooses the port.
screenshot_page() {
    query=$1
    picture=$2
    python3 -m http.server "${PORT:-8765}" --bind 127.0.0.1 --directory "$repo_root" \
        > "$work_dir/server.log" 2>&1 &
    server_pid=$!
    sleep 1
    chromium --headless=new --no-sandbox --disable-gpu --use-angle=swiftshader \
        --enable-unsafe-swiftshader --disable-quic --no-first-run \
        --disable-background-networking --disable-component-update --disable-sync \
        --user-data-dir="$work_dir/profile" --window-size="$3,$4" --hide-scrollbars \
        --virtual-time-budget=60000 --screenshot="$repo_root/$picture" \
        "http://127.0.0.1:${PORT:-8765}/docs/view_scene.html?$query&width=$3&height=$4" \
        > "$work_dir/chromium.log" 2>&1 || status=$?
    kill "$server_pid" 2>/dev/null
    return "${status:-0}"
}
