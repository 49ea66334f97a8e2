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

# Every test makes its own home, runtime folder and, where it draws, its own X server
# (tests/support/isolated-run.sh), so none is needed here and an outer one is never used.

# A rebuild of an unchanged tree, or of another checkout of it, comes from ccache's store.
launcher=()
if command -v ccache >/dev/null; then
    export CCACHE_BASEDIR="$PWD"
    launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi

configure() {
    local dir=$1
    shift
    cmake -S . -B "$dir" -G Ninja "${launcher[@]}" "$@" >/dev/null
}

# stage NAME: closes the stage before it with its time and opens the next.
suite_start=$SECONDS
stage_start=$SECONDS
stage_name=""
stage() {
    if [ -n "$stage_name" ]; then
        printf '   (%s: %d s)\n' "$stage_name" $((SECONDS - stage_start))
    fi
    stage_name=$1
    stage_start=$SECONDS
    [ -n "$1" ] && echo "== $1 =="
    return 0
}

stage "Release build"
configure build -DCMAKE_BUILD_TYPE=Release
cmake --build build -j "$jobs"

stage "Release tests"
ctest --test-dir build --output-on-failure -j "$jobs" -LE journey

stage "Journeys: the real program on X servers of its own, over the virtual mouse"
ctest --test-dir build --output-on-failure -j "$jobs" -L journey

stage "Windows back ends: mingw-w64, syntax only"
cmake --build build -j "$jobs" --target check_windows_sources

stage "qmllint: every QML file"
scripts/qmllint.sh build

stage "AddressSanitizer + UBSan build"
configure build-asan -DCMAKE_BUILD_TYPE=Debug -DQ7_SANITIZE=ON -DQ7_BUILD_BENCH=OFF
cmake --build build-asan -j "$jobs"

stage "AddressSanitizer + UBSan tests"
ASAN_OPTIONS="detect_leaks=1:${ASAN_OPTIONS:-}" \
LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0" \
UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1" \
    ctest --test-dir build-asan --output-on-failure -j "$jobs"

stage "ThreadSanitizer: device link threads"
configure build-tsan -DCMAKE_BUILD_TYPE=Debug -DQ7_TSAN=ON -DQ7_BUILD_BENCH=OFF
tsan_tests=(tst_device_polling tst_device_discovery tst_device_failures tst_device_refill_thread)
cmake --build build-tsan -j "$jobs" --target "${tsan_tests[@]}"
ctest --test-dir build-tsan --output-on-failure -j "$jobs" \
    -R "^($(IFS='|'; echo "${tsan_tests[*]}"))\$"

stage "Fuzzing (bounded)"
configure build-fuzz -DCMAKE_BUILD_TYPE=Debug -DQ7_FUZZ=ON -DQ7_BUILD_BENCH=OFF \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
cmake --build build-fuzz -j "$jobs" --target q7_fuzzers
TMPDIR=/dev/shm ctest --test-dir build-fuzz --output-on-failure -L fuzz

stage ""
printf '== Every stage passed in %d s ==\n' $((SECONDS - suite_start))
