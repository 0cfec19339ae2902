#!/usr/bin/env bash
# Leak check: one scripted session of the whole game (curdovar-session: two
# games through every shipped level with music, checkpoints, bombs, message
# boxes, reloads and game overs) under valgrind memcheck. Fails on any byte
# definitely or indirectly lost and on any memory error; what SDL and its
# libraries keep for the life of the process is listed in tools/valgrind.supp.
# Usage: leak-check.sh BUILD_DIR [FRAMES_PER_LEVEL]
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:?usage: leak-check.sh BUILD_DIR [FRAMES_PER_LEVEL]}" && pwd)
frames=${2:-300}
session="$build/curdovar-session"
[ -x "$session" ] || { echo "leak-check: no $session (build the curdovar-session target)"; exit 2; }
command -v valgrind >/dev/null || { echo "leak-check: valgrind is not installed"; exit 2; }

# The session writes a checkpoint and the preferences: a scratch directory
# keeps them out of the working tree.
work=$(mktemp -d /tmp/curdovar-leak-XXXXXX)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/data/preferences"
for folder in levels images fonts sound; do
    ln -s "$repo/data/$folder" "$work/data/$folder"
done

log="$build/leak-check.log"
echo "== valgrind memcheck: curdovar-session, $frames frames a level (log: $log)"
status=0
(cd "$work" && valgrind --tool=memcheck --leak-check=full \
    --show-leak-kinds=definite,indirect --errors-for-leak-kinds=definite,indirect \
    --suppressions="$repo/tools/valgrind.supp" --gen-suppressions=all \
    --error-exitcode=99 --num-callers=30 \
    "$session" --frames "$frames" --games 2 --tilesize 16) >"$log" 2>&1 || status=$?

grep -E '^curdovar-session:' "$log" || true
grep -E '==[0-9]+== +(definitely lost|indirectly lost|possibly lost|still reachable|suppressed):|ERROR SUMMARY' "$log" \
    | sed -E 's/^==[0-9]+== +//'
if [ "$status" -ne 0 ]; then
    echo "FAIL: leak check (status $status); the first reports:"
    grep -E '^==[0-9]+== (Invalid|Conditional|Use of|Mismatched|[0-9,]+ bytes in)' "$log" | head -20
    exit 1
fi
echo "leak check passed: nothing lost, no memory errors"
