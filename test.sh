#!/usr/bin/env bash
# Sets up, builds and runs every test of Kvora.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
"$here/setup.sh"
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
cd "$here"
ctest --test-dir "build${KV_SANITIZE:+-san}" --output-on-failure -j "$(nproc)" "$@"
