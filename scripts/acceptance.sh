#!/usr/bin/env bash
# Runs every acceptance script (tests/acceptance/*.py) against a build, each under its own Xvfb:
# no display is needed. Screenshots land in <build>/acceptance/.
#   scripts/acceptance.sh [build-dir]     (default: build/test, built if missing)
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$here/build/test}"
if [[ ! -x "$build/src/app/tessaly-designer" || ! -x "$build/tests/tools/cardtool/cardtool" ]]; then
    cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTESSALY_BUILD_TESTS=ON >/dev/null
    cmake --build "$build" --target tessaly-designer cardtool
fi
export TESSALY_BUILD="$(cd "$build" && pwd)"
rm -rf "$TESSALY_BUILD/acceptance"
mkdir -p "$TESSALY_BUILD/acceptance"
failed=0
for script in "$here"/tests/acceptance/*.py; do
    echo "== $(basename "$script")"
    if ! timeout 300 /usr/bin/python3 "$script"; then
        echo "FAILED: $(basename "$script")"
        failed=1
    fi
done
exit $failed
