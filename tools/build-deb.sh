#!/usr/bin/env bash
# Builds the Debian packages (curdovar and curdovar-data) from a scratch copy of the tree, so that
# dpkg-buildpackage writes nothing into the working tree.
# Usage: tools/build-deb.sh [OUT]   (default build/deb; the .debs land in OUT)
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-build/deb}

version=$(sed -n 's/^project(curdovar VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
packaged=$(dpkg-parsechangelog -S Version)
if [ "$version" != "$packaged" ]; then
    echo "build-deb: CMakeLists.txt says $version, debian/changelog $packaged: add a changelog entry" >&2
    exit 1
fi

rm -rf "$out/src"
mkdir -p "$out/src"
rm -f "$out"/curdovar*_"$version"_*.deb "$out"/curdovar_"$version"_*.buildinfo \
    "$out"/curdovar_"$version"_*.changes
# What git would see: tracked and new files, none of the ignored build folders.
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    git ls-files -z --cached --others --exclude-standard \
        | while IFS= read -r -d '' file; do [ -e "$file" ] && printf '%s\0' "$file"; done \
        | tar --null -T - -cf - | tar -xf - -C "$out/src"
else
    tar --exclude='./build*' --exclude='./.git' -cf - . | tar -xf - -C "$out/src"
fi

(cd "$out/src" && DEB_BUILD_OPTIONS="parallel=${JOBS:-2} ${DEB_BUILD_OPTIONS:-}" \
    nice dpkg-buildpackage -us -uc -b)
rm -rf "$out/src"
ls "$out"/curdovar_"$version"_*.deb "$out"/curdovar-data_"$version"_all.deb
