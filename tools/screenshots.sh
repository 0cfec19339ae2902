#!/usr/bin/env bash
# Redraws the README's screenshots in docs/screenshots/ from the real game, so
# they follow the art: the title screen and two levels played in a virtual X
# server at tile sizes 32 and 16 (reached with the skip key, as a player may),
# and the final fight, drawn by the game's own code from the finale's
# recorded run with curdovar-shot (the fight lies minutes into the level,
# past what scripted keys can play). From the recorded runs of every level,
# curdovar-replay draws each level's opening frame at both tile sizes onto
# one contact sheet (levels.png) and the first level of each world into a
# row of worlds (worlds.png).
#
# Usage: tools/screenshots.sh [LEVEL32 [LEVEL16 [FINALE]]]
#   LEVEL32, LEVEL16: level numbers to show at each size (default 7 and 15)
#   FINALE: the finale's level number (default: the level holding the Maimframe)
# Environment: BUILD_DIR (build), SHOT_DISPLAY (47).
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$(pwd)
build=${BUILD_DIR:-build}
level32=${1:-7}
level16=${2:-15}
display=${SHOT_DISPLAY:-47}
out=docs/screenshots
maimframe=36  # the Maimframe's kind number in level files

# The finale: the last level file with a Maimframe among its cells (a hint's
# words and a portal's target follow their cells and are skipped).
finale_level() {
    local file found=""
    for file in data/levels/level[0-9][0-9].lvl; do
        if awk -v kind="$maimframe" '
            NR == 1 { next }
            { for (i = 1; i <= NF; i++) {
                if (hint) { if ($i == "Burmashave.") hint = 0; continue }
                if (skip) { skip--; continue }
                if ($i == 28) hint = 1
                else if ($i == 29) skip = 2
                else if ($i == kind) found = 1
            } }
            END { exit !found }' "$file"; then
            found=$file
        fi
    done
    [ -n "$found" ] || { echo "screenshots: no level holds a Maimframe" >&2; exit 1; }
    basename "$found" .lvl | sed 's/^level0*//'
}
finale=${3:-$(finale_level)}

for tool in curdovar curdovar-shot curdovar-replay; do
    [ -x "$build/$tool" ] || { echo "screenshots: build $build/$tool first" >&2; exit 1; }
done
work=$(mktemp -d /tmp/curdovar-shots-XXXXXX)
xvfb_pid=""
game_pid=""
cleanup() {
    [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
mkdir -p "$out" "$work/data/preferences"
for folder in levels images fonts sound; do
    ln -s "$repo/data/$folder" "$work/data/$folder"
done
Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do
    xdpyinfo -display ":$display" >/dev/null 2>&1 && break
    kill -0 "$xvfb_pid" 2>/dev/null || { echo "screenshots: Xvfb :$display did not start" >&2; exit 1; }
    sleep 0.1
done
export DISPLAY=":$display"

picture_sum() { xwd -id "$1" -silent | md5sum; }

# shot LEVEL TILESIZE NAME: starts the game at the tile size, skips from the
# menu to the level, waits until the hero has landed and takes the window.
shot() {
    local level=$1 size=$2 name=$3 window advances before after
    printf '0\n%s\n0\n260 97 100 113 101 115 \n' "$size" >"$work/data/preferences/prefs.cdv"
    (cd "$work" && exec stdbuf -oL "$repo/$build/curdovar") >"$work/game.log" 2>/dev/null &
    game_pid=$!
    window=$(timeout 20 xdotool search --sync --name 'Curdovar II' | head -n 1)
    [ -n "$window" ] || { echo "screenshots: no game window" >&2; exit 1; }
    for _ in $(seq 100); do grep -q -x 'Objects loaded.' "$work/game.log" && break; sleep 0.1; done
    xdotool windowfocus --sync "$window" 2>/dev/null || true
    for advances in $(seq "$level"); do
        xdotool key --delay 80 4
        for _ in $(seq 100); do
            [ "$(grep -c '^Advance to level' "$work/game.log")" -ge "$advances" ] && break
            sleep 0.1
        done
    done
    [ "$level" = 0 ] || grep -q -x "Advance to level $level!" "$work/game.log" \
        || { echo "screenshots: level $level was never reached" >&2; exit 1; }
    # The hero drops onto its start; the picture waits until it stands still.
    before=$(picture_sum "$window")
    for _ in $(seq 50); do
        sleep 0.3
        after=$(picture_sum "$window")
        [ "$after" = "$before" ] && break
        before=$after
    done
    xwd -id "$window" -silent | convert xwd:- -strip "png:$out/$name.png"
    xdotool key Escape
    wait "$game_pid" || true
    game_pid=""
    echo "$out/$name.png: level $level at tile size $size"
}

shot 0 32 title-32
shot "$level32" 32 level-32
shot "$level16" 16 level-16
replay=$(printf 'tests/replays/level%02d-32.replay' "$finale")
"$build/curdovar-shot" "$replay" "$maimframe" "$work/finale.bmp" >/dev/null
convert "$work/finale.bmp" -strip "png:$out/finale-32.png"
echo "$out/finale-32.png: level $finale, drawn from $replay"

# The opening frames: a few frames in, once the camera has settled on the
# start (and before the menu's run walks the title out of view).
opening=5
sheet_width=240  # pixels: each frame on the sheets, 3/4 of the small window
font=DejaVu-Sans

# opening_frame REPLAY OUT.png: the frame as the game draws it, scaled for a sheet.
opening_frame() {
    "$build/curdovar-replay" --picture "$opening" "$work/frame.ppm" "$1" >/dev/null \
        || { echo "screenshots: $1 did not play" >&2; exit 1; }
    convert "$work/frame.ppm" -resize "${sheet_width}x" -strip "png:$2"
}
# The look a level file names after its name line, or "default".
look_of() { awk '$1 == "look" { print $2; found = 1; exit } END { if (!found) print "default" }' "$1"; }
# The level's name as the window shows it.
name_of() {
    awk -v w="$(head -n 1 "$1" | cut -d' ' -f1)" 'NR == w + 2 { gsub(/_/, " "); print; exit }' "$1"
}

cells=()
world_cells=()
last_look=""
for file in data/levels/menu.lvl data/levels/level[0-9][0-9].lvl; do
    level=$(basename "$file" .lvl)
    [ -f "tests/replays/$level-32.replay" ] && [ -f "tests/replays/$level-16.replay" ] \
        || { echo "screenshots: $level has no recorded run at both sizes" >&2; exit 1; }
    look=$(look_of "$file")
    opening_frame "tests/replays/$level-32.replay" "$work/$level-32.png"
    opening_frame "tests/replays/$level-16.replay" "$work/$level-16.png"
    montage "$work/$level-32.png" "$work/$level-16.png" -tile 2x1 -geometry +2+0 \
        -background white "$work/$level-both.png"
    convert "$work/$level-both.png" -font "$font" -pointsize 13 -gravity north -splice 0x18 \
        -annotate +0+2 "$level: $(name_of "$file") ($look; 32 and 16)" "$work/$level-cell.png"
    cells+=("$work/$level-cell.png")
    if [ "$level" != menu ] && [ "$look" != "$last_look" ]; then
        convert "$work/$level-32.png" -font "$font" -pointsize 13 -gravity north -splice 0x18 \
            -annotate +0+2 "$look (from $level)" "$work/$level-world.png"
        world_cells+=("$work/$level-world.png")
    fi
    [ "$level" = menu ] || last_look=$look
done
montage "${cells[@]}" -tile 4x -geometry +6+6 -background white "$work/levels.png"
# 256 colours keep the sheets small; the art has far fewer than that per level.
convert "$work/levels.png" +dither -colors 256 -strip "png8:$out/levels.png.tmp"
mv "$out/levels.png.tmp" "$out/levels.png"
echo "$out/levels.png: the opening frame of every level at tile sizes 32 and 16"
montage "${world_cells[@]}" -tile "${#world_cells[@]}x1" -geometry +4+4 -background white \
    "$work/worlds.png"
convert "$work/worlds.png" +dither -colors 256 -strip "png8:$out/worlds.png.tmp"
mv "$out/worlds.png.tmp" "$out/worlds.png"
echo "$out/worlds.png: the first level of each world at tile size 32"
