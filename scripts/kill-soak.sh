#!/usr/bin/env bash
# Kills the real program with SIGKILL at random moments while it writes its files, and checks
# after every kill that the profile file, the configuration and the virtual mouse's state read
# back whole and that the next start succeeds.
#
#   scripts/kill-soak.sh [rounds] [seed]      (default 200 rounds)
#
# The program runs on an X server of its own over the virtual mouse, as the journeys do.
# Prints: rounds, kills, files rewritten before the kill, kills that left a write unfinished,
# failures. Exit status 0 when there was no failure.
set -euo pipefail
cd "$(dirname "$0")/.."

rounds=${1:-200}
seed=${2:-20261207}
build=${SOAK_BUILD_DIR:-build}
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release "${launcher[@]}" >/dev/null
cmake --build "$build" -j "$(nproc)" --target kill_soak q7config virtualmouse q7_stage_modules

export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d /tmp/q7-soak.XXXXXX)}"
chmod 700 "$XDG_RUNTIME_DIR"
Q7_BUILD_BIN="$PWD/$build/bin" Q7_SOURCE_DIR="$PWD" GSETTINGS_BACKEND=memory \
    Q7_ARTIFACTS="$PWD/$build/tests/artifacts/kill-soak" \
    "$build/tests/bin/kill_soak" "$rounds" "$seed"
