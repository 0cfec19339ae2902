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
browser=$(command -v chromium-headless-shell || command -v chromium || true)
[[ -n $browser ]] || { echo "FAIL: no headless Chromium" >&2; exit 1; }
port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
python3 -m http.server "$port" --bind 127.0.0.1 --directory "$web_dir" >/dev/null 2>&1 &
server=$!
out=$(mktemp -d)
trap 'kill "$server" 2>/dev/null || true; rm -rf "$out"' EXIT
for _ in $(seq 50); do
    python3 -c "import urllib.request; urllib.request.urlopen('http://127.0.0.1:$port/replay.html')" \
        2>/dev/null && break
    sleep 0.1
done
page() {
    node --experimental-websocket --no-warnings "$here/replay-page.mjs" \
        "http://127.0.0.1:$port/" "$browser" "$@"
}
# The page prints the emulation's own notes and the game's errors too; only
# the game's standard output is compared.
game_output() { grep -v -e '^stderr: ' -e ' called (and ignored)$' || true; }

# The trace ends with the verdict line, so its hash covers the goal frame too.
"$native_tool" --trace "$replay" >"$out/native.trace" 2>/dev/null || true
page --trace "$replay" 2>"$out/web.stderr" | tee "$out/web.all" | game_output >"$out/web.trace" || true
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
