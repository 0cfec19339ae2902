#!/usr/bin/env bash
# The player model on a shipped sample, level 1 with its calm runs at both
# tile sizes: the flawless player gets through in one life, every curdotree
# but the last has a way back, and practice pays (experts reach the goal in
# one life at least as often as casual players, and they as novices).
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
done
exit $failed
