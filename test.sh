#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test:
#   1. the Release build, every test, the journeys of the real program, the Windows
#      sources compiled for syntax, and qmllint over every QML file;
#   2. the same suite built with AddressSanitizer and UBSan;
#   3. the device link's threads under ThreadSanitizer;
#   4. short, bounded libFuzzer runs of every fuzz target (scripts/fuzz-long.sh runs them long).
set -euo pipefail
cd "$(dirname "$0")"

./scripts/install-deps.sh

jobs=$(nproc)
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d /tmp/q7-runtime.XXXXXX)}"
chmod 700 "$XDG_RUNTIME_DIR"

# The window tests need an X server; xvfb-run gives each run its own.
with_display() {
    xvfb-run -a -s "-screen 0 1280x1024x24 +extension GLX +extension RENDER" "$@"
}

configure() {
    local dir=$1
    shift
    cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
}

echo "== Release build =="
configure build -DCMAKE_BUILD_TYPE=Release
cmake --build build -j "$jobs"
with_display ctest --test-dir build --output-on-failure -j "$jobs" -LE journey

echo "== Journeys: the real program on X servers of its own, over the virtual mouse =="
ctest --test-dir build --output-on-failure -j "$jobs" -L journey

echo "== Windows back ends: mingw-w64, syntax only =="
cmake --build build -j "$jobs" --target check_windows_sources

echo "== qmllint: every QML file =="
scripts/qmllint.sh build

echo "== AddressSanitizer + UBSan build =="
configure build-asan -DCMAKE_BUILD_TYPE=Debug -DQ7_SANITIZE=ON -DQ7_BUILD_BENCH=OFF
cmake --build build-asan -j "$jobs"
ASAN_OPTIONS="detect_leaks=1:${ASAN_OPTIONS:-}" \
LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0" \
UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1" \
    with_display ctest --test-dir build-asan --output-on-failure -j "$jobs"

echo "== ThreadSanitizer: device link threads =="
configure build-tsan -DCMAKE_BUILD_TYPE=Debug -DQ7_TSAN=ON -DQ7_BUILD_BENCH=OFF
tsan_tests=(tst_device_polling tst_device_discovery tst_device_failures tst_device_refill_thread)
cmake --build build-tsan -j "$jobs" --target "${tsan_tests[@]}"
ctest --test-dir build-tsan --output-on-failure -j "$jobs" \
    -R "^($(IFS='|'; echo "${tsan_tests[*]}"))\$"

echo "== Fuzzing (bounded) =="
configure build-fuzz -DCMAKE_BUILD_TYPE=Debug -DQ7_FUZZ=ON -DQ7_BUILD_BENCH=OFF \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
cmake --build build-fuzz -j "$jobs" --target q7_fuzzers
TMPDIR=/dev/shm ctest --test-dir build-fuzz --output-on-failure -L fuzz
