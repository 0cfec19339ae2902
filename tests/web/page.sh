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
source "$here/serve.sh"
find_browser
serve "$web_dir" index.html
mkdir -p "$(dirname "$shot")"
node --experimental-websocket --no-warnings "$here/page-check.mjs" \
    "http://127.0.0.1:$port/" "$shot" "$browser"
