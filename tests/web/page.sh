#!/usr/bin/env bash
# The web build in a real browser: serves WEB_DIR (what `make web` wrote) on
# 127.0.0.1, opens it in headless Chromium and checks the menu level with its
# status text shows and holding d moves the hero (page-check.mjs).
#
#   tests/web/page.sh WEB_DIR SCREENSHOT.png
set -euo pipefail
web_dir=$1
shot=$2
here=$(cd "$(dirname "$0")" && pwd)
if [[ ! -f $web_dir/index.html || ! -f $web_dir/index.data ]]; then
    echo "FAIL: no web build in $web_dir (run make web first)" >&2
    exit 1
fi
browser=$(command -v chromium-headless-shell || command -v chromium || true)
if [[ -z $browser ]]; then
    echo "FAIL: no headless Chromium (tools/install-deps.sh --web installs it)" >&2
    exit 1
fi
port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
python3 -m http.server "$port" --bind 127.0.0.1 --directory "$web_dir" >/dev/null 2>&1 &
server=$!
trap 'kill "$server" 2>/dev/null || true' EXIT
for _ in $(seq 50); do
    python3 -c "import urllib.request; urllib.request.urlopen('http://127.0.0.1:$port/index.html')" \
        2>/dev/null && break
    sleep 0.1
done
mkdir -p "$(dirname "$shot")"
node --experimental-websocket --no-warnings "$here/page-check.mjs" \
    "http://127.0.0.1:$port/" "$shot" "$browser"
