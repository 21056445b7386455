#!/usr/bin/env bash
# Installs what is missing, builds the program with its tests and runs them all.
# --sanitize builds and runs with AddressSanitizer (leaks included) and UndefinedBehaviorSanitizer.
# --tsan builds with ThreadSanitizer just what the tests that start threads need, and runs those.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
"$here/scripts/install-packages.sh"
build="${BUILD_DIR:-$here/build/test}"; extra=(); target=all; only=()
case "${1:-}" in
--sanitize) build="${BUILD_DIR:-$here/build/sanitize}"; extra=(-DTESSALY_SANITIZE=ON -DTESSALY_BUILD_BENCH=OFF) ;;
--tsan) build="${BUILD_DIR:-$here/build/tsan}"; extra=(-DTESSALY_TSAN=ON -DTESSALY_BUILD_BENCH=OFF); target=thread_tests; only=(-L threads) ;;
esac
jobs="$(nproc)"
# CI builds every tree from nothing: line tables are enough for sanitizer reports and cut the
# compile and link time of the debug builds by a good share; unity batches of 16 sources and
# precompiled headers parse the Qt and GoogleTest headers a few times per tree instead of once
# per source; lld links in a fraction of the time of the default linker.
# CI also holds the habits: warnings are errors, and every C++ file is as clang-format writes it.
if [[ "${CI:-}" == true ]]; then
    "$here/scripts/check-format.sh"
    extra+=(-DTESSALY_WERROR=ON -DCMAKE_CXX_FLAGS_DEBUG=-g1 -DCMAKE_C_FLAGS_DEBUG=-g1 -DTESSALY_PCH=ON
            -DCMAKE_UNITY_BUILD=ON -DCMAKE_UNITY_BUILD_BATCH_SIZE=16 -DCMAKE_EXE_LINKER_FLAGS=-fuse-ld=lld)
fi
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTESSALY_BUILD_TESTS=ON "${extra[@]}" >/dev/null
cmake --build "$build" -j "$jobs" --target "$target"
export QT_QPA_PLATFORM=offscreen
# Leaks are checked too. intercept_tls_get_addr=0: GCC 12's sanitizer runtime misreads glibc's
# dynamic TLS blocks, and its leak tracer then crashes at exit instead of reporting.
export ASAN_OPTIONS="detect_leaks=1:intercept_tls_get_addr=0:abort_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
cd "$build"
ctest --output-on-failure -j "$jobs" --timeout 600 "${only[@]}"
