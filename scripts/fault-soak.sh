#!/usr/bin/env bash
# Starts the real program again and again over a virtual mouse with random faults
# (VIRTUAL_MOUSE_FAULTS: silent, unplugged after N calls, refused reports, short or wrong
# answers, slow), applies pages, saves everything and switches profiles in each episode, and
# measures the longest time the window did not answer its test hook. At the end the program
# starts over a healthy mouse, and the profile file it refilled must equal the mouse.
#
#   scripts/fault-soak.sh [episodes] [seed]      (default 200 episodes)
#
# The program runs on an X server of its own, driven through XTest as the journeys are.
# Prints: episodes, steps, notices seen after a step, crashes, hangs, the longest stall and
# the longest start (each with the faults of its episode), and whether mouse and file agree.
# Exit status 0 with no crash, no hang and mouse and file in agreement. Not part of ./test.sh.
set -euo pipefail
cd "$(dirname "$0")/.."

episodes=${1:-200}
seed=${2:-20261207}
build=${SOAK_BUILD_DIR:-build}
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release "${launcher[@]}" >/dev/null
cmake --build "$build" -j "$(nproc)" --target fault_soak q7config virtualmouse q7_stage_modules

export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d /tmp/q7-soak.XXXXXX)}"
chmod 700 "$XDG_RUNTIME_DIR"
Q7_BUILD_BIN="$PWD/$build/bin" Q7_SOURCE_DIR="$PWD" GSETTINGS_BACKEND=memory \
    Q7_ARTIFACTS="$PWD/$build/tests/artifacts/fault-soak" \
    "$build/tests/bin/fault_soak" "$episodes" "$seed"
