#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the tools need.
# Does nothing when everything is already there, so it is cheap to run every time.
set -euo pipefail

packages=(
  cmake g++ make pkg-config
  libsdl1.2-dev libsdl-image1.2-dev libsdl-ttf2.0-dev libsdl-mixer1.2-dev
  libgtest-dev libbenchmark-dev
  clang libclang-rt-14-dev valgrind
  ttf-bitstream-vera
  xvfb xdotool x11-apps x11-utils imagemagick
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
