#!/usr/bin/env bash
# Installs the Debian packages Lumivex builds, tests and runs with. As root it runs apt-get;
# otherwise it prints the apt-get line to run and goes on (the build fails later if any is missing).
set -euo pipefail

packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev pkg-config python3
  libpng-dev libfontconfig-dev fonts-dejavu-core
  libgtest-dev libgmock-dev libbenchmark-dev
  libsdl2-dev xvfb xdotool x11-apps imagemagick
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep "install ok installed" >/dev/null || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q >/dev/null
  apt-get install -y -q --no-install-recommends "${missing[@]}" >/dev/null
else
  echo "Lumivex needs these packages; install them with:" >&2
  echo "  sudo apt-get install -y ${missing[*]}" >&2
fi
