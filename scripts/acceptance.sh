#!/usr/bin/env bash
# Runs every acceptance script (tests/acceptance/*.py) against a build, each under its own Xvfb:
# no display is needed. Screenshots land in <build>/acceptance/.
#   scripts/acceptance.sh [build-dir]          (default: build/test, built if missing)
#   scripts/acceptance.sh --cups [build-dir]   printing through a real CUPS "PDF" queue instead
#     (tests/acceptance/cups/): installs CUPS and CUPS-PDF when missing, starts the scheduler and
#     makes the queue; the job lands in the user's ~/PDF.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
scripts=("$here"/tests/acceptance/*.py)
if [[ "${1:-}" == --cups ]]; then
    shift
    scripts=("$here"/tests/acceptance/cups/*.py)
    sudo=(); [[ $(id -u) -eq 0 ]] || sudo=(sudo)
    if ! command -v cupsd >/dev/null || [[ ! -x /usr/lib/cups/backend/cups-pdf ]]; then
        "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends \
            cups printer-driver-cups-pdf >/dev/null
    fi
    if ! lpstat -r >/dev/null 2>&1; then
        "${sudo[@]}" cupsd
        # The scheduler answers once it is up: ask it, for ten seconds at most.
        for _ in $(seq 100); do lpstat -r >/dev/null 2>&1 && break; sleep 0.1; done
    fi
    if ! lpstat -v PDF >/dev/null 2>&1; then
        "${sudo[@]}" lpadmin -p PDF -v cups-pdf:/ -P /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd -E 2>/dev/null
        "${sudo[@]}" cupsenable PDF
        "${sudo[@]}" cupsaccept PDF
    fi
fi
build="${1:-$here/build/test}"
if [[ ! -x "$build/src/app/tessaly-designer" || ! -x "$build/tests/tools/cardtool/cardtool" ]]; then
    cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTESSALY_BUILD_TESTS=ON >/dev/null
    cmake --build "$build" --target tessaly-designer cardtool
fi
export TESSALY_BUILD="$(cd "$build" && pwd)"
rm -rf "$TESSALY_BUILD/acceptance"
mkdir -p "$TESSALY_BUILD/acceptance"
# Each script has its own X server, home and temporary folders, so several run at once; half the
# cores leaves room for the program, Xvfb and the tools each of them starts. A script's output is
# kept apart and printed whole once it has ended, so the logs read one script at a time.
pool="${TESSALY_ACCEPTANCE_JOBS:-$(( $(nproc) / 2 ))}"
(( pool >= 2 )) || pool=2
# The longest scripts start first, so that none of them starts last and holds up the end.
longest=" window_places rebound_workbook held_arrow print_changed_workbook gone_workbook photos_memory changed_workbook "
slow=(); rest=()
for script in "${scripts[@]}"; do
    if [[ "$longest" == *" $(basename "$script" .py) "* ]]; then slow+=("$script"); else rest+=("$script"); fi
done
scripts=("${slow[@]}" "${rest[@]}")
logs="$(mktemp -d)"
trap 'rm -rf "$logs"' EXIT
declare -A name_of=() started=()
failed=()
finish() {
    local pid status=0 name
    wait -n -p pid || status=$?
    name="${name_of[$pid]}"
    unset "name_of[$pid]"
    echo "== $name ($(( SECONDS - ${started[$name]} )) s)"
    cat "$logs/$name.log"
    if (( status != 0 )); then
        echo "FAILED: $name (exit status $status)"
        failed+=("$name")
    fi
}
for script in "${scripts[@]}"; do
    (( ${#name_of[@]} < pool )) || finish
    name="$(basename "$script" .py)"
    started[$name]=$SECONDS
    timeout 300 /usr/bin/python3 "$script" >"$logs/$name.log" 2>&1 &
    name_of[$!]="$name"
done
while (( ${#name_of[@]} > 0 )); do finish; done
if (( ${#failed[@]} > 0 )); then
    for name in "${failed[@]}"; do
        echo "==== log of the failed script $name"
        cat "$logs/$name.log"
    done
    echo "FAILED: ${failed[*]}"
    exit 1
fi
echo "acceptance: all ${#scripts[@]} scripts passed"
