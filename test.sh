#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: first the Release build,
# then the same suite built with AddressSanitizer and UBSan.
set -euo pipefail
cd "$(dirname "$0")"

./scripts/install-deps.sh

jobs=$(nproc)
export QT_QPA_PLATFORM_PLUGIN_PATH="${QT_QPA_PLATFORM_PLUGIN_PATH:-}"
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d /tmp/q7-runtime.XXXXXX)}"
chmod 700 "$XDG_RUNTIME_DIR"

run_suite() {
    local dir=$1
    shift
    cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
    cmake --build "$dir" -j "$jobs"
    # The window tests need an X server; xvfb-run gives each suite its own.
    xvfb-run -a -s "-screen 0 1280x1024x24 +extension GLX +extension RENDER" \
        ctest --test-dir "$dir" --output-on-failure -j "$jobs"
}

echo "== Release build =="
run_suite build -DCMAKE_BUILD_TYPE=Release

echo "== AddressSanitizer + UBSan build =="
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:${ASAN_OPTIONS:-}"
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
run_suite build-asan -DCMAKE_BUILD_TYPE=Debug -DQ7_SANITIZE=ON -DQ7_BUILD_BENCH=OFF
