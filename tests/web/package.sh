#!/usr/bin/env bash
# The page ships the game's data and nothing a game played in the build tree
# wrote: no preferences, window file, checkpoint or half-written temporary.
#
#   tests/web/package.sh WEB_DIR
set -euo pipefail
loader=$1/index.js
[[ -f $loader ]] || { echo "FAIL: no web build in $1 (run make web first)" >&2; exit 1; }
files=$(grep -o '"filename": *"[^"]*"' "$loader" | sed 's/.*"\(\/[^"]*\)"$/\1/')
grep -qx '/game/data/levels/menu.lvl' <<<"$files" || {
    echo "FAIL: the page's data has no menu level; is $loader a page's loader?" >&2
    exit 1
}
saved=$(grep -E '\.(cdv|ckp|new)$' <<<"$files" || true)
if [[ -n $saved ]]; then
    echo "FAIL: the page ships files a game wrote:" >&2
    echo "$saved" >&2
    exit 1
fi
echo "$(wc -l <<<"$files") files in the page's data, none a game wrote"
