#!/usr/bin/env bash
# The web build in a real browser: serves WEB_DIR (what `make web` wrote) on
# 127.0.0.1 and runs a driver on it in headless Chromium: page-check.mjs (the
# menu level with its status text shows, holding d moves the hero) or
# session-check.mjs (keys, storage over a reload, quitting).
#
#   tests/web/page.sh WEB_DIR DRIVER.mjs [ARGUMENT...]
set -euo pipefail
web_dir=$1
driver=$2
shift 2
here=$(cd "$(dirname "$0")" && pwd)
if [[ ! -f $web_dir/index.html || ! -f $web_dir/index.data ]]; then
    echo "FAIL: no web build in $web_dir (run make web first)" >&2
    exit 1
fi
source "$here/serve.sh"
find_browser
serve "$web_dir" index.html
# The server's process goes to the driver too, for a driver that stops it.
SERVER_PID=$server_pid node --experimental-websocket --no-warnings "$here/$driver" \
    "http://127.0.0.1:$port/" "$browser" "$@"
