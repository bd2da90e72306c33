#!/usr/bin/env bash
# Installs everything the project needs on a Debian 12 machine (run as root).
# Idempotent: when every package is present it only checks and returns.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev llvm
  libpng-dev zlib1g-dev libfreetype-dev fontconfig libfontconfig-dev libre2-dev
  g++-mingw-w64-i686 binutils-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64
  # talvorix-cli.exe: zlib for its PNG files, and what RE2's source package
  # needs to be unpacked and to make its Unicode tables (below).
  libz-mingw-w64-dev dpkg-dev unicode-data python3-six perl
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

# Debian has no RE2 for mingw-w64: the Windows builds compile RE2 from
# Debian's source package of the version libre2-dev has, unpacked here with
# the tables Debian generates when it builds it (from unicode-data).
RE2_SOURCE=/usr/local/src/re2

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"

install_packages() {
  local missing=() p
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}" >&2
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
  fi
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# The source list is a private one (deb-src of the system's Debian release),
# so that the system's own lists stay as they are.
install_re2_source() {
  [ -f "$RE2_SOURCE/re2/unicode_groups.cc" ] && return 0
  local version codename work
  version=$(dpkg-query -W -f='${source:Version}' libre2-dev)
  codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
  work=$(mktemp -d)
  chmod 755 "$work"  # apt fetches as its own user
  echo "Fetching RE2's Debian source $version for the Windows builds" >&2
  mkdir -p "$work/lists/partial"
  echo "deb-src http://deb.debian.org/debian $codename main" > "$work/sources.list"
  local apt=(apt-get -qq -o Dir::Etc::sourcelist="$work/sources.list" -o Dir::Etc::sourceparts=-
             -o Dir::State::Lists="$work/lists" -o APT::Get::List-Cleanup=0)
  $SUDO "${apt[@]}" update
  (cd "$work" && $SUDO "${apt[@]}" source "re2=$version" >/dev/null 2>&1)
  (cd "$work"/re2-*/ && $SUDO make -s REBUILD_TABLES=1 re2/perl_groups.cc re2/unicode_casefold.cc re2/unicode_groups.cc)
  $SUDO mkdir -p "$(dirname "$RE2_SOURCE")"
  $SUDO rm -rf "$RE2_SOURCE"
  $SUDO mv "$work"/re2-*/ "$RE2_SOURCE"
  $SUDO rm -rf "$work"
}

install_packages
install_re2_source
