# Shared by the packaging tests: a private X server, users, and the program started as a
# given user against the virtual mouse. Source it; BUILD is the build folder.
set -euo pipefail

WORK=$(mktemp -d /tmp/q7-pkgtest.XXXXXX)
chmod 755 "$WORK"
PIDS=()

cleanup() {
    local pid
    for pid in "${PIDS[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    for pid in "${PIDS[@]}"; do
        wait "$pid" 2>/dev/null || true
    done
    rm -rf "$WORK"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# The virtual mouse, copied where every user can read it.
cp "$BUILD/lib/libvirtualmouse.so" "$WORK/"
chmod 644 "$WORK/libvirtualmouse.so"

# One X server for every user of the test; -displayfd picks a free display without races.
start_display() {
    Xvfb -displayfd 3 -screen 0 1280x1024x24 +extension GLX +extension RENDER -nolisten tcp \
        3>"$WORK/display" 2>/dev/null &
    PIDS+=($!)
    local i
    for i in $(seq 100); do
        [ -s "$WORK/display" ] && break
        sleep 0.1
    done
    [ -s "$WORK/display" ] || fail "Xvfb did not start"
    DISPLAY_NAME=":$(head -n1 "$WORK/display")"
}

# An unprivileged user id for the programs when the suite runs as root; else ourselves.
if [ "$(id -u)" -eq 0 ]; then
    USER_A=65534
    USER_B=65533
else
    USER_A=$(id -u)
    USER_B=""
fi

as_user() {
    local uid=$1
    shift
    if [ "$(id -u)" -eq 0 ] && [ "$uid" -ne 0 ]; then
        setpriv --reuid="$uid" --regid="$uid" --clear-groups -- "$@"
    else
        "$@"
    fi
}

# new_user_home NAME UID: a fresh HOME and runtime folder owned by that user.
new_user_home() {
    local name=$1 uid=$2
    mkdir -p "$WORK/$name/home" "$WORK/$name/runtime"
    chmod 700 "$WORK/$name/runtime"
    [ "$(id -u)" -eq 0 ] && chown -R "$uid:$uid" "$WORK/$name"
    echo "current_profile=3" >"$WORK/$name/home/mouse.txt"
    [ "$(id -u)" -eq 0 ] && chown "$uid:$uid" "$WORK/$name/home/mouse.txt"
    return 0
}

# start_program NAME UID PROGRAM [ARGS...]: starts the program as that user with the
# home made by new_user_home (and the NAME=VALUE words of PROGRAM_ENV); its pid lands in
# $WORK/NAME/pid.
start_program() {
    local name=$1 uid=$2 program=$3
    shift 3
    # shellcheck disable=SC2086 # PROGRAM_ENV: NAME=VALUE words for the program's environment
    as_user "$uid" env -i PATH=/usr/bin:/bin ${PROGRAM_ENV:-} HOME="$WORK/$name/home" \
        XDG_RUNTIME_DIR="$WORK/$name/runtime" DISPLAY="$DISPLAY_NAME" QT_QPA_PLATFORM=xcb \
        QT_LOGGING_RULES="qt.qpa.*=false" GSETTINGS_BACKEND=memory \
        VIRTUAL_MOUSE_STATE="$WORK/$name/home/mouse.txt" Q7_PRELOAD="$WORK/libvirtualmouse.so" \
        sh -c 'echo $$ >"$0"; LD_PRELOAD="$Q7_PRELOAD" exec "$@"' "$WORK/$name/pid" \
        "$program" "$@" >"$WORK/$name.log" 2>&1 &
    PIDS+=($!)
}

# wait_for_line FILE TEXT: up to 30 s for FILE to hold the line TEXT.
wait_for_line() {
    local i
    for i in $(seq 300); do
        grep -qxF "$2" "$1" 2>/dev/null && return 0
        sleep 0.1
    done
    return 1
}

stop_program() {
    local pid
    pid=$(cat "$WORK/$1/pid")
    kill "$pid" 2>/dev/null || true
    for _ in $(seq 100); do
        kill -0 "$pid" 2>/dev/null || return 0
        sleep 0.1
    done
    kill -9 "$pid" 2>/dev/null || true
}
