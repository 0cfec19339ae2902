#!/usr/bin/env bash
# What a player sees along every shipped solving run: not mostly wall, and
# never the empty space past the level's grid. Limits: each level's mean share
# of wall in view at most MAX_LEVEL %, the mean over the levels at most
# MAX_MEAN %, and no frame of any shipped replay looking outside the grid.
# First the measurement itself is checked on two small levels of known views.
set -euo pipefail
replay_tool=$1
cd "$(dirname "$0")/../.."
MAX_LEVEL=45
MAX_MEAN=35
failed=0
fail() { echo "FAILED: $*"; failed=1; }

# "FILE: view: wall 31.4% mean, 52.0% max; outside the grid in 0 frames (max 0.0%)"
stats() {
    "$replay_tool" --stats "$1" | sed -n 's/.*view: wall \([0-9.]*\)% mean.*outside the grid in \([0-9]*\) frames.*/\1 \2/p'
}

read -r wall outside <<<"$(stats tests/tools/composition/wall-below.replay)"
[ "$wall" = 46.7 ] && [ "$outside" = 0 ] || fail "wall-below measured $wall% wall, $outside frames outside (want 46.7, 0)"
read -r wall outside <<<"$(stats tests/tools/composition/short-grid.replay)"
[ "$wall" = 33.3 ] && [ "$outside" = 9 ] || fail "short-grid measured $wall% wall, $outside frames outside (want 33.3, 9)"

sum=0
levels=0
for replay in tests/replays/*.replay; do
    read -r wall outside <<<"$(stats "$replay")"
    [ -n "$wall" ] || { fail "$replay: no figures"; continue; }
    [ "$outside" = 0 ] || fail "$replay: the view shows space outside the grid in $outside frames"
    case "$replay" in *-32.replay) ;; *) continue ;; esac
    grep -q '^expect *survive' "$replay" && continue
    printf '%-34s wall %5s%%\n' "$replay" "$wall"
    awk -v w="$wall" -v m="$MAX_LEVEL" 'BEGIN { exit !(w > m) }' && fail "$replay: $wall% of the view is wall (at most $MAX_LEVEL%)"
    sum=$(awk -v s="$sum" -v w="$wall" 'BEGIN { print s + w }')
    levels=$((levels + 1))
done
mean=$(awk -v s="$sum" -v n="$levels" 'BEGIN { printf "%.1f", n ? s / n : 0 }')
echo "mean wall share over $levels solving runs: $mean%"
awk -v w="$mean" -v m="$MAX_MEAN" 'BEGIN { exit !(w > m) }' && fail "mean wall share $mean% (at most $MAX_MEAN%)"
exit $failed
