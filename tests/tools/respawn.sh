#!/usr/bin/env bash
# What one death costs along every shipped solving run at tile size 32: the
# longest stretch between two respawn points (the start, the curdotrees
# touched, the goal) is at most 300 frames (10 s) in levels 1 to 5 and 450
# (15 s) elsewhere. The ending room, which has no goal, is left out. First
# the measurement itself is checked on a road of known curdotrees.
set -euo pipefail
replay_tool=$1
cd "$(dirname "$0")/../.."
EARLY_LIMIT=300
LIMIT=450
failed=0
fail() { echo "FAILED: $*"; failed=1; }

# "FILE: respawn: 2 curdotrees touched; longest stretch 27 frames, after frame 0"
longest() {
    "$replay_tool" --stats "$1" | sed -n 's/.*respawn: \([0-9]*\) curdotrees touched; longest stretch \([0-9]*\) frames, after frame \([0-9]*\)/\1 \2 \3/p'
}

read -r trees stretch after <<<"$(longest tests/tools/respawn/road.replay)"
[ "$trees $stretch $after" = "2 27 0" ] \
    || fail "the road measured '$trees $stretch $after' (want 2 curdotrees, 27 frames after frame 0)"

for replay in tests/replays/level*-32.replay; do
    grep -q '^expect *survive' "$replay" && continue
    number=$(basename "$replay" | sed 's/^level0*\([0-9]*\)-32.replay$/\1/')
    limit=$LIMIT
    [ "$number" -le 5 ] && limit=$EARLY_LIMIT
    read -r trees stretch after <<<"$(longest "$replay")"
    [ -n "$stretch" ] || { fail "$replay: no figures"; continue; }
    printf '%-34s %2s curdotrees, longest stretch %4s frames (at most %s)\n' "$replay" "$trees" \
        "$stretch" "$limit"
    [ "$stretch" -le "$limit" ] || fail "$replay: $stretch frames without a respawn point after frame $after"
done
exit $failed
