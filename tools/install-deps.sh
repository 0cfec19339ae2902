#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the tools need.
# Does nothing when everything is already there, so it is cheap to run every time.
set -euo pipefail
# With --web, also what `make web` and its tests need: Debian's emscripten,
# headless Chromium and opusenc (the page's music). Only `make web` asks for them.

packages=(
  cmake g++ make pkg-config
  libsdl1.2-dev libsdl-image1.2-dev libsdl-ttf2.0-dev libsdl-mixer1.2-dev
  libgtest-dev libbenchmark-dev
  libflac-dev libsndfile1-dev libpng-dev
  clang valgrind
  ttf-bitstream-vera
  xvfb xdotool x11-apps x11-utils imagemagick
  debhelper dpkg-dev fakeroot lintian desktop-file-utils appstream
)

if [ "${1:-}" = "--web" ]; then
  packages=(emscripten chromium-headless-shell python3 opus-tools)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
apt_install() {
  echo "Installing: $*"
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "$@"
}

[ ${#missing[@]} -eq 0 ] || apt_install "${missing[@]}"

[ "${1:-}" = "--web" ] && exit 0

# The sanitizer and libFuzzer runtimes come in a package named after the
# installed clang's major version, so it is picked only once clang is there.
major=$(clang --version | sed -n 's/.*clang version \([0-9][0-9]*\).*/\1/p' | head -n 1)
runtime="libclang-rt-$major-dev"
if ! dpkg-query -W -f='${Status}' "$runtime" 2>/dev/null | grep -q 'install ok installed'; then
  apt_install "$runtime"
fi
