#!/usr/bin/env bash
# isolated-run.sh [--display] PROGRAM [ARGS...]
#
# Runs one test in a world of its own: a fresh home, runtime, configuration, data, cache, state
# and temporary folder, no session bus, and with --display an X server that nobody else uses.
# Two copies of the suite, an outer xvfb-run or a user's desktop can then never meet a test:
# no shared socket name, settings file, lock or display.
set -uo pipefail

display=0
if [ "${1:-}" = "--display" ]; then
    display=1
    shift
fi

# Short on purpose: sockets inside it must stay within the 107 bytes of a socket path.
root=$(mktemp -d /tmp/q7t.XXXXXX) || exit 1
xvfb_pid=""
cleanup() {
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null
        wait "$xvfb_pid" 2>/dev/null
    fi
    rm -rf "$root"
}
trap cleanup EXIT
trap 'exit 143' TERM INT

mkdir -p "$root/home" "$root/runtime" "$root/tmp"
chmod 700 "$root/runtime"
export HOME="$root/home"
export XDG_RUNTIME_DIR="$root/runtime"
export XDG_CONFIG_HOME="$root/home/.config"
export XDG_DATA_HOME="$root/home/.local/share"
export XDG_CACHE_HOME="$root/home/.cache"
export XDG_STATE_HOME="$root/home/.local/state"
export TMPDIR="$root/tmp"
unset DBUS_SESSION_BUS_ADDRESS WAYLAND_DISPLAY DISPLAY XAUTHORITY

if [ "$display" -eq 1 ]; then
    # -displayfd makes the server itself take the first free number and say which: no
    # window between looking for a free number and taking it, as with xvfb-run -a.
    Xvfb -displayfd 3 -screen 0 1280x1024x24 +extension GLX +extension RENDER \
        -nolisten tcp -noreset 3>"$root/display" 2>"$root/xvfb.log" &
    xvfb_pid=$!
    # Xvfb writes the number once it listens; a server that died will never write it.
    for _ in $(seq 600); do
        [ -s "$root/display" ] || ! kill -0 "$xvfb_pid" 2>/dev/null && break
        sleep 0.05
    done
    if [ ! -s "$root/display" ]; then
        echo "isolated-run: Xvfb did not start:" >&2
        cat "$root/xvfb.log" >&2
        exit 1
    fi
    export DISPLAY=":$(head -n 1 "$root/display")"
fi

"$@"
exit $?
