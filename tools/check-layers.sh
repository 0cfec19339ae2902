#!/usr/bin/env bash
# Fails when a lower layer of the game includes a higher one. From the bottom:
#   0  the settings, the clock, the tile table   menus/Settings, shell/Clock (with FrameYield), shell/WholeFile, level/Tiles.h
#   1  media and the platform edges             media/, shell/Display (the window), shell/Input (the devices)
#   2  menus                                     menus/
#   3  the world                                 level/, player/, things/, shell/Particles
#   4  the shell                                 shell/
#   5  tools, tests, benchmarks, fuzzers         never included by the game
# A file may include its own layer and any layer below it.
set -euo pipefail
cd "$(dirname "$0")/.."

layer() {
    case "$1" in
        menus/Settings.*|shell/Clock.*|shell/FrameYield.*|shell/WholeFile.*|level/Tiles.h) echo 0 ;;
        media/*|shell/Display.*|shell/Input.*) echo 1 ;;
        menus/*) echo 2 ;;
        level/*|player/*|things/*|shell/Particles.*) echo 3 ;;
        shell/*) echo 4 ;;
        *) echo 5 ;;
    esac
}

bad=0
for file in $(find shell level player things menus media -name '*.h' -o -name '*.cpp' | sort); do
    own=$(layer "$file")
    while IFS= read -r included; do
        [ -e "$included" ] || continue  # system and SDL headers
        theirs=$(layer "$included")
        if [ "$theirs" -gt "$own" ]; then
            echo "$file: includes $included, a higher layer ($own < $theirs)"
            bad=1
        fi
    done < <(sed -n 's/^#include "\([^"]*\)".*/\1/p' "$file")
done
if [ "$bad" -eq 0 ]; then echo "layers: every include points down"; fi
exit "$bad"
