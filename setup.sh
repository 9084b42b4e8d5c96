#!/usr/bin/env bash
# Installs what is missing on a Debian 12 machine, then configures and builds
# Kvora into build/: the targets given as arguments, else everything (the
# program, its tests and benchmarks). Used by run.sh and test.sh; safe to run
# again.
set -euo pipefail
cd "$(dirname "$0")"

packages=(
  build-essential cmake ninja-build ccache pkg-config git
  qt6-base-dev qt6-image-formats-plugins libgl-dev
  libtsl-ordered-map-dev libpugixml-dev libcurl4-openssl-dev
  libwmf-dev libuemf-dev
  libgtest-dev libgmock-dev libbenchmark-dev libmimalloc-dev
  fonts-dejavu-core xdg-utils
  chromium chromium-driver nodejs
  libgedcom-perl
)
# npm: Debian's package, unless a nodejs that brings its own npm is installed
# (Debian's npm conflicts with such a nodejs).
command -v npm >/dev/null 2>&1 || packages+=(npm)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -qq
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

build_type="${KV_BUILD_TYPE:-RelWithDebInfo}"
if [ ! -f build/build.ninja ]; then
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE="$build_type"
fi
if [ $# -gt 0 ]; then
  cmake --build build -j "$(nproc)" --target "$@"
else
  cmake --build build -j "$(nproc)"
fi
