#!/usr/bin/env bash
# One replay, native and in the web build's replay page: the verdict (goal
# frame) and the hash of the per-frame trace (--trace) must be the same.
#
#   tests/web/replay.sh NATIVE_REPLAY_TOOL WEB_REPLAY_DIR REPLAY
# Run from the repository root; REPLAY is a path under it.
set -euo pipefail
native_tool=$1
web_dir=$2
replay=$3
here=$(cd "$(dirname "$0")" && pwd)
if [[ ! -f $web_dir/replay.html ]]; then
    echo "FAIL: no replay page in $web_dir (run make web first)" >&2
    exit 1
fi
source "$here/serve.sh"
find_browser
serve "$web_dir" replay.html
out=$(mktemp -d)
at_exit+=('rm -rf "$out"')
page() {
    node --experimental-websocket --no-warnings "$here/replay-page.mjs" \
        "http://127.0.0.1:$port/" "$browser" "$@"
}
# The page prints the emulation's own notes and the game's errors too; only
# the game's standard output is compared.
game_output() { grep -v -e '^stderr: ' -e ' called (and ignored)$' || true; }

# The trace ends with the verdict line, so its hash covers the goal frame too.
"$native_tool" --trace "$replay" >"$out/native.trace" 2>/dev/null || true
# A page that crashed (a browser short of memory on a busy machine) says
# nothing about the game: it plays once more in a fresh browser.
for attempt in 1 2; do
    status=0
    page --trace "$replay" >"$out/web.all" 2>"$out/web.stderr" || status=$?
    [[ $status -eq 3 ]] || break
    echo "the page crashed (attempt $attempt):" >&2
    tail -n 5 "$out/web.stderr" >&2
done
if [[ $status -eq 3 ]]; then
    echo "FAIL: the replay page crashed twice, so there is no web trace" >&2
    exit 1
fi
game_output <"$out/web.all" >"$out/web.trace"
native_verdict=$(tail -n 1 "$out/native.trace")
web_verdict=$(tail -n 1 "$out/web.trace")
native_hash=$(sha256sum <"$out/native.trace" | cut -c1-16)
web_hash=$(sha256sum <"$out/web.trace" | cut -c1-16)
echo "native: $native_verdict, trace $native_hash ($(wc -l <"$out/native.trace") lines)"
echo "web:    $web_verdict, trace $web_hash ($(wc -l <"$out/web.trace") lines)"
[[ -s $out/native.trace ]] || { echo "FAIL: no native trace" >&2; exit 1; }
if [[ $native_verdict != "$web_verdict" ]]; then
    echo "FAIL: the verdicts differ; the page said:" >&2
    grep -v -e '^frame ' -e 'channels in use' "$out/web.all" "$out/web.stderr" | tail -n 15 >&2
    exit 1
fi
[[ $native_hash == "$web_hash" ]] || {
    echo "FAIL: the traces differ; first differences:" >&2
    diff "$out/native.trace" "$out/web.trace" | head -n 10 >&2
    exit 1
}
