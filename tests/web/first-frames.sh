#!/usr/bin/env bash
# The first frames of the menu and of some levels at both tile sizes, native
# (curdovar-replay --picture) against the web build's replay page: at most
# 0.5 % of the pixels of each may differ (first-frames.mjs). The pictures and
# side-by-side PNGs stay in OUT for people to look at.
#
#   tests/web/first-frames.sh NATIVE_REPLAY_TOOL WEB_REPLAY_DIR OUT REPLAY...
# Run from the repository root; each REPLAY is a path under it.
set -euo pipefail
native_tool=$1
web_dir=$2
out=$3
shift 3
here=$(cd "$(dirname "$0")" && pwd)
if [[ ! -f $web_dir/replay.html ]]; then
    echo "FAIL: no replay page in $web_dir (run make web first)" >&2
    exit 1
fi
mkdir -p "$out"
source "$here/serve.sh"
find_browser
serve "$web_dir" replay.html
node --experimental-websocket --no-warnings "$here/first-frames.mjs" "$native_tool" \
    "http://127.0.0.1:$port/" "$browser" "$out" "$@"
