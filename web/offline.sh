#!/usr/bin/env bash
# Makes the page installable and playable offline, in its folder as `make web`
# assembled it: the manifest, the icons (the game's own, enlarged by whole
# numbers), and the service worker with the list of every file it keeps and
# a version made from their contents.
#
#   web/offline.sh WEB_DIR
set -euo pipefail
out=$1
here=$(cd "$(dirname "$0")" && pwd)
icons=$here/../packaging/icons
cp "$here/manifest.webmanifest" "$out/"
/usr/bin/convert "$icons/curdovar-64.png" -filter point -resize 300% "$out/icon-192.png"
/usr/bin/convert "$icons/curdovar-256.png" -filter point -resize 200% "$out/icon-512.png"

cd "$out"
mapfile -t kept < <(find . -type f ! -name service-worker.js ! -name '*.new' | sed 's|^\./||' | sort)
version=$(cat "${kept[@]}" | sha256sum | cut -c1-16)
list="'./'"
for file in "${kept[@]}"; do list+=", '$file'"; done
sed -e "s|@VERSION@|$version|" -e "s|@FILES@|$list|" "$here/service-worker.js" > service-worker.js.new
mv service-worker.js.new service-worker.js
