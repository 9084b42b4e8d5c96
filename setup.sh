#!/usr/bin/env bash
# Installs what is missing on a Debian 12 machine, then configures and builds
# Kvora into build/. Used by run.sh and test.sh; safe to run again.
#
#   setup.sh [--dry-run] --program [targets]
#       what building and running the program needs; builds the program and
#       the data beside it (or the targets given)
#   setup.sh [--dry-run] [targets]
#       that and what the tests and benchmarks need; builds everything (or
#       the targets given)
#
# --dry-run lists the packages the step needs, each marked installed or
# missing, and changes nothing.
# Build jobs: CMAKE_BUILD_PARALLEL_LEVEL when it is set, else one per processor.
set -euo pipefail
cd "$(dirname "$0")"

# Building and running the program: compiler and build tools, Qt, the
# libraries the program links, the fonts it draws with (libwmf draws metafile
# text with the URW fonts) and xdg-utils to open charts and files.
program_packages=(
  build-essential cmake ninja-build ccache pkg-config
  qt6-base-dev qt6-image-formats-plugins libgl-dev
  libtsl-ordered-map-dev libpugixml-dev libcurl4-openssl-dev
  libwmf-dev libuemf-dev libmimalloc-dev
  fonts-dejavu-core fonts-urw-base35 xdg-utils
)
# The tests and benchmarks only: GoogleTest and GoogleMock, Google Benchmark,
# Chromium driven from Node.js for the chart pages, a second GEDCOM reader
# that checks what the export writes, and an X server with a window manager
# on which the designer's window frame is checked.
test_packages=(
  git libgtest-dev libgmock-dev libbenchmark-dev
  chromium chromium-driver nodejs
  libgedcom-perl
  xvfb openbox
)
# npm: Debian's package, unless a nodejs that brings its own npm is installed
# (Debian's npm conflicts with such a nodejs).
command -v npm >/dev/null 2>&1 || test_packages+=(npm)

dry_run=0
with_tests=1
targets=()
for arg in "$@"; do
  case "$arg" in
    --dry-run) dry_run=1 ;;
    --program) with_tests=0 ;;
    *) targets+=("$arg") ;;
  esac
done

packages=("${program_packages[@]}")
if [ "$with_tests" -eq 1 ]; then
  packages+=("${test_packages[@]}")
else
  [ ${#targets[@]} -gt 0 ] || targets=(kvora kv_share_data)
fi

# One query for every package: the names dpkg reports installed. dpkg-query
# fails when it has never heard of a package (a fresh machine), yet still
# reports the rest, so its status is not the answer.
installed=" $({ dpkg-query -W -f='${Package} ${Status}\n' "${packages[@]}" 2>/dev/null || true; } |
  awk '$NF == "installed" && $(NF-1) == "ok" { print $1 }' | tr '\n' ' ') "
missing=()
for p in "${packages[@]}"; do
  [[ "$installed" == *" $p "* ]] || missing+=("$p")
done

if [ "$dry_run" -eq 1 ]; then
  for p in "${packages[@]}"; do
    if [[ "$installed" == *" $p "* ]]; then echo "$p installed"; else echo "$p missing"; fi
  done
  exit 0
fi

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -qq
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The program alone is configured without the test and benchmark libraries;
# asking for the tests later configures the same build folder again with them.
# KV_SANITIZE=1: everything is built with the address and undefined-behaviour
# sanitizers, in a folder of its own.
build_type="${KV_BUILD_TYPE:-RelWithDebInfo}"
build="build${KV_SANITIZE:+-san}"
if [ ! -f "$build/build.ninja" ]; then
  switch=$([ "$with_tests" -eq 1 ] && echo ON || echo OFF)
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE="$build_type" \
    -DKV_BUILD_TESTS="$switch" -DKV_BUILD_BENCH="$switch" ${KV_SANITIZE:+-DKV_ASAN=ON -DKV_UBSAN=ON}
elif [ "$with_tests" -eq 1 ] && ! { grep -q '^KV_BUILD_TESTS:BOOL=ON' "$build/CMakeCache.txt" &&
    grep -q '^KV_BUILD_BENCH:BOOL=ON' "$build/CMakeCache.txt"; }; then
  cmake -S . -B "$build" -DKV_BUILD_TESTS=ON -DKV_BUILD_BENCH=ON
fi

jobs="${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)}"
if [ ${#targets[@]} -gt 0 ]; then
  cmake --build "$build" -j "$jobs" --target "${targets[@]}"
else
  cmake --build "$build" -j "$jobs"
fi
