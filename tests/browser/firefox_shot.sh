#!/bin/bash
# Screenshot of a local HTML page (WebGL2 included) with Debian's Firefox ESR.
# Usage: firefox_shot.sh PAGE_PATH OUT_PNG
# Env (optional): SHOT_WIDTH/SHOT_HEIGHT (viewport, default 800x600),
#                 SHOT_SETTLE_MS (extra wait after the first frames, default 500),
#                 SHOT_TIMEOUT (overall seconds, default 60), FIREFOX (default firefox-esr),
#                 SHOT_SCRIPT (a file of JavaScript run as an async WebDriver script after
#                 the page has drawn, before the shot; what it passes to its callback is
#                 written as JSON to OUT_PNG.json).
#
# Why this shape: headless Firefox without an X display finds no GL driver
# ("Exhausted GL driver options"), so WebGL is off. With an X display (Xvfb) the
# headless browser uses Mesa llvmpipe through GLX and WebGL2 works. The built-in
# --screenshot fires at the load event, before pages that draw in
# requestAnimationFrame have drawn, so the shot is taken over Marionette after
# the page has rendered a few frames.
set -euo pipefail

if [ $# -ne 2 ]; then
  echo "usage: $0 PAGE_PATH OUT_PNG" >&2
  exit 2
fi
page=$(realpath -e -- "$1")
out=$(realpath -m -- "$2")
width=${SHOT_WIDTH:-800}
height=${SHOT_HEIGHT:-600}
settle=${SHOT_SETTLE_MS:-500}
limit=${SHOT_TIMEOUT:-60}
firefox=${FIREFOX:-firefox-esr}

work=$(mktemp -d)
trap 'rm -rf -- "$work"' EXIT
profile="$work/profile"
mkdir -p "$profile"

# Fresh profile, no network, no first-run noise; port 0 lets Marionette pick a
# free port and write it to MarionetteActivePort in the profile.
cat > "$profile/user.js" <<'EOF'
user_pref("marionette.port", 0);
user_pref("webgl.force-enabled", true);
user_pref("webgl.disable-fail-if-major-performance-caveat", true);
user_pref("browser.shell.checkDefaultBrowser", false);
user_pref("browser.startup.homepage_override.mstone", "ignore");
user_pref("browser.startup.page", 0);
user_pref("startup.homepage_welcome_url", "about:blank");
user_pref("datareporting.policy.dataSubmissionEnabled", false);
user_pref("datareporting.healthreport.uploadEnabled", false);
user_pref("toolkit.telemetry.enabled", false);
user_pref("app.update.enabled", false);
user_pref("app.normandy.enabled", false);
user_pref("extensions.update.enabled", false);
user_pref("network.captive-portal-service.enabled", false);
user_pref("network.connectivity-service.enabled", false);
user_pref("browser.safebrowsing.update.enabled", false);
user_pref("browser.safebrowsing.downloads.remote.enabled", false);
user_pref("media.gmp-manager.updateEnabled", false);
user_pref("browser.region.update.enabled", false);
user_pref("network.proxy.type", 0);
EOF

cat > "$work/drive.js" <<'EOF'
// Minimal Marionette client (length-prefixed JSON over TCP), Node built-ins only.
"use strict";
const fs = require("fs");
const net = require("net");
const [profile, pagePath, outPng, width, height, settle] = process.argv.slice(2);
const pageUrl = require("url").pathToFileURL(pagePath).href;

function sleep(ms) { return new Promise((r) => setTimeout(r, ms)); }

async function activePort() {
  const file = profile + "/MarionetteActivePort";
  for (let i = 0; i < 400; i++) {
    try {
      const port = parseInt(fs.readFileSync(file, "utf8"), 10);
      if (port > 0) return port;
    } catch (e) { /* not written yet */ }
    await sleep(100);
  }
  throw new Error("Marionette did not start (no MarionetteActivePort)");
}

function connect(port) {
  return new Promise((resolve, reject) => {
    const sock = net.connect(port, "127.0.0.1");
    let buf = Buffer.alloc(0);
    const waiting = [];
    let nextId = 1;
    const pending = new Map();
    const deliver = (msg) => {
      if (Array.isArray(msg) && msg[0] === 1) {
        const p = pending.get(msg[1]);
        pending.delete(msg[1]);
        if (p) msg[2] ? p.reject(new Error(JSON.stringify(msg[2]))) : p.resolve(msg[3]);
      } else if (waiting.length) waiting.shift()(msg);
    };
    sock.on("data", (chunk) => {
      buf = Buffer.concat([buf, chunk]);
      for (;;) {
        const colon = buf.indexOf(0x3a);
        if (colon < 0) return;
        const len = parseInt(buf.subarray(0, colon).toString(), 10);
        if (buf.length < colon + 1 + len) return;
        const body = buf.subarray(colon + 1, colon + 1 + len).toString("utf8");
        buf = buf.subarray(colon + 1 + len);
        deliver(JSON.parse(body));
      }
    });
    sock.on("error", reject);
    waiting.push(() => {
      const send = (name, params) => new Promise((res, rej) => {
        const id = nextId++;
        pending.set(id, { resolve: res, reject: rej });
        const body = Buffer.from(JSON.stringify([0, id, name, params || {}]), "utf8");
        sock.write(body.length + ":");
        sock.write(body);
      });
      resolve({ send, sock });
    });
  });
}

async function main() {
  const port = await activePort();
  let client;
  for (let i = 0; ; i++) {
    try { client = await connect(port); break; } catch (e) {
      if (i > 50) throw e;
      await sleep(100);
    }
  }
  const { send, sock } = client;
  await send("WebDriver:NewSession", { capabilities: { alwaysMatch: { pageLoadStrategy: "normal" } } });
  await send("WebDriver:Navigate", { url: pageUrl });
  // Size the viewport exactly: grow the window by the difference.
  const inner = await send("WebDriver:ExecuteScript", {
    script: "return [window.innerWidth, window.innerHeight, window.outerWidth, window.outerHeight];", args: [] });
  const [iw, ih, ow, oh] = inner.value;
  await send("WebDriver:SetWindowRect", { width: ow + (+width - iw), height: oh + (+height - ih) });
  // Let requestAnimationFrame-driven pages draw, then wait for the GPU work.
  await send("WebDriver:ExecuteAsyncScript", {
    script: `const done = arguments[arguments.length - 1];
      let n = 0;
      const tick = () => (++n < 5 ? requestAnimationFrame(tick) : setTimeout(done, ${+settle}));
      requestAnimationFrame(tick);`,
    args: [], scriptTimeout: 30000 });
  if (process.env.SHOT_SCRIPT) {
    const result = await send("WebDriver:ExecuteAsyncScript", {
      script: fs.readFileSync(process.env.SHOT_SCRIPT, "utf8"), args: [], scriptTimeout: 60000 });
    fs.writeFileSync(outPng + ".json", JSON.stringify(result.value));
  }
  const shot = await send("WebDriver:TakeScreenshot", { full: false, hash: false });
  fs.writeFileSync(outPng, Buffer.from(shot.value, "base64"));
  try { await send("Marionette:Quit", { flags: ["eForceQuit"] }); } catch (e) { /* closing */ }
  sock.destroy();
}

main().then(() => process.exit(0), (e) => { console.error("firefox_shot: " + e.message); process.exit(1); });
EOF

rm -f -- "$out"
# timeout makes its own process group and kills the whole group (Xvfb, Firefox
# and its content processes, node) if the limit is reached.
status=0
timeout --kill-after=5 "$limit" bash -c '
  work=$1; firefox=$2; shift 2
  xvfb= ff=
  cleanup() {
    [ -n "$ff" ] && kill "$ff" 2>/dev/null
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
    wait 2>/dev/null
  }
  trap cleanup EXIT
  # A private X display: with it, headless Firefox gets GL (Mesa llvmpipe via GLX).
  Xvfb -displayfd 1 -screen 0 1920x1200x24 -nolisten tcp >"$work/display" 2>"$work/xvfb.log" &
  xvfb=$!
  for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
  [ -s "$work/display" ] || { echo "firefox_shot: Xvfb did not start" >&2; cat "$work/xvfb.log" >&2; exit 1; }
  export DISPLAY=":$(head -n1 "$work/display")"
  unset WAYLAND_DISPLAY
  export MOZ_ENABLE_WAYLAND=0
  "$firefox" --headless --marionette --no-remote --new-instance --profile "$work/profile" about:blank \
    >"$work/firefox.log" 2>&1 &
  ff=$!
  status=0
  node "$work/drive.js" "$work/profile" "$@" || status=$?
  # Marionette:Quit normally ends Firefox; give it a moment before cleanup kills it.
  for _ in $(seq 50); do kill -0 "$ff" 2>/dev/null || break; sleep 0.1; done
  exit "$status"
' _ "$work" "$firefox" "$page" "$out" "$width" "$height" "$settle" || status=$?

if [ "$status" -ne 0 ] || [ ! -s "$out" ]; then
  echo "firefox_shot: failed (status $status); Firefox log:" >&2
  tail -n 20 "$work/firefox.log" >&2 || true
  exit 1
fi
