#!/usr/bin/env bash
# Sets up, builds and starts Kvora: ./run.sh [tree file] [switches]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
# The program and the data beside it only: tests and benchmarks are built by test.sh.
"$here/setup.sh" --program
exec "$here/build${KV_SANITIZE:+-san}/bin/kvora" "$@"
