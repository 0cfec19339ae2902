#!/usr/bin/env bash
# Without a usable video driver the game cannot start SDL: it must say so,
# take the shutdown path and end with status 1, touching nothing.
# Usage: nodisplay.sh PATH-TO-CURDOVAR (run from the repository root).
set -uo pipefail

game=${1:?usage: nodisplay.sh PATH-TO-CURDOVAR}
game=$(cd "$(dirname "$game")" && pwd)/$(basename "$game")
repo=$(pwd)

work=$(mktemp -d /tmp/curdovar-e2e-XXXXXX)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/data/preferences"
for folder in levels images fonts sound; do
    ln -s "$repo/data/$folder" "$work/data/$folder"
done

fail() {
    echo "FAIL: $*"
    echo "--- game standard output"
    cat "$work/out.log"
    exit 1
}

# A driver name SDL does not know makes its start-up fail on any machine.
(cd "$work" && env -u DISPLAY SDL_VIDEODRIVER=nosuchdriver timeout 20 "$game") \
    >"$work/out.log" 2>"$work/err.log"
status=$?
[ "$status" -eq 1 ] || fail "exit code $status, expected 1"

expected=$'Initializing...\nSDL failed to init: No available video device\nExited cleanly'
[ "$(cat "$work/out.log")" = "$expected" ] || fail "unexpected output"
[ ! -e "$work/data/preferences/prefs.cdv" ] || fail "preferences written without a window"
[ ! -e "$work/Check.ckp" ] || fail "checkpoint written without a window"

echo "e2e nodisplay: failed start-up reported, status 1, nothing written"
echo "1 passed, 0 failed"
