#!/usr/bin/env bash
# Sets up, builds and starts Kvora: ./run.sh [tree file] [switches]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
"$here/setup.sh"
exec "$here/build/bin/kvora" "$@"
