#!/usr/bin/env bash
# Installs what is missing, builds into build/ and starts the program.
#   ./run.sh                   against the real mouse
#   ./run.sh --virtual-mouse   against the virtual mouse (state in $VIRTUAL_MOUSE_STATE,
#                              default ~/.local/state/q7config/virtual-mouse.txt)
# Any other arguments are passed to the program.
set -euo pipefail
cd "$(dirname "$0")"

./scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build

args=()
preload=""
for a in "$@"; do
    if [ "$a" = "--virtual-mouse" ]; then
        preload="$PWD/build/lib/libvirtualmouse.so"
    else
        args+=("$a")
    fi
done

if [ -n "$preload" ]; then
    if [ ! -f "$preload" ]; then
        echo "The virtual mouse was not built ($preload)." >&2
        exit 1
    fi
    export LD_PRELOAD="$preload${LD_PRELOAD:+:$LD_PRELOAD}"
fi
exec build/bin/q7config "${args[@]}"
