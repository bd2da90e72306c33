#!/usr/bin/env bash
# Installs everything the project needs on a Debian 12 machine (run as root).
# Idempotent: when every package is present it only checks and returns.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev llvm
  libpng-dev libfreetype-dev fontconfig libfontconfig-dev libre2-dev
  g++-mingw-w64-i686 binutils-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64
  wine wine32:i386 wine64 fonts-wine
  # The X extensions Wine's display driver uses (recommended by Wine, so not
  # installed here by itself), for both loaders: both builds draw the same way.
  libxrender1 libxrandr2 libxi6 libxcursor1 libxinerama1 libxcomposite1 libxfixes3 libxxf86vm1
  libxrender1:i386 libxrandr2:i386 libxi6:i386 libxcursor1:i386 libxinerama1:i386
  libxcomposite1:i386 libxfixes3:i386 libxxf86vm1:i386
  xvfb xauth xdotool x11vnc imagemagick fonts-noto-cjk fonts-ipafont-gothic
  srecord python3
  # A network serial port server for the tests of rfc2217:// and socket:// ports.
  ser2net
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}" >&2
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
