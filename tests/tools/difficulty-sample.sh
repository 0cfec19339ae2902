#!/usr/bin/env bash
# The player model on a shipped sample, level 1 with its calm runs at both
# tile sizes: the flawless player gets through in one life, every curdotree
# but the last has a way back, practice pays (experts reach the goal in one
# life at least as often as casual players, and they as novices), and the
# tutorial is finished by most casual players. On level 2, whose Chompers
# want presses in step with them, the flawless player gets through too.
set -euo pipefail
tool=$1
cd "$(dirname "$0")/../.."
failed=0
fail() { echo "FAILED: $*"; failed=1; }

field() { sed -n "s/.*\"$2\": \([0-9.]*\).*/\1/p" <<<"$1"; }

for size in 32 16; do
    json=$("$tool" --json --tilesize "$size" --attempts 20 --profile all data/levels/level01.lvl)
    flawless=$("$tool" --json --tilesize "$size" --attempts 1 --profile flawless data/levels/level01.lvl)
    echo "$json"
    [ "$(field "$flawless" goal_one_life)" = 1 ] || fail "$size: the flawless player did not get through: $flawless"
    ways=$(field "$flawless" ways_back)
    [ "${ways:-0}" -ge 3 ] || fail "$size: $ways ways back from level 1's four curdotrees"
    previous=0
    for profile in novice casual expert; do
        line=$(grep "\"profile\": \"$profile\"" <<<"$json")
        chance=$(field "$line" goal_one_life)
        awk -v a="$chance" -v b="$previous" 'BEGIN { exit !(a >= b) }' \
            || fail "$size: $profile reaches the goal in one life less often ($chance) than the profile before ($previous)"
        previous=$chance
    done
    casual=$(grep '"profile": "casual"' <<<"$json")
    awk -v a="$(field "$casual" finished)" 'BEGIN { exit !(a >= 0.5) }' \
        || fail "$size: casual players finish level 1 less than half the time: $casual"
done
flawless=$("$tool" --json --attempts 1 --profile flawless data/levels/level02.lvl)
[ "$(field "$flawless" goal_one_life)" = 1 ] || fail "32: the flawless player did not get through level 2: $flawless"
exit $failed
