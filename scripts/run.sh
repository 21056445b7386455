#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
"$here/scripts/install-packages.sh"
build="${BUILD_DIR:-$here/build/release}"
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTESSALY_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" --target tessaly-designer
exec "$build/src/app/tessaly-designer" "$@"
