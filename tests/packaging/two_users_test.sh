#!/usr/bin/env bash
# One program file, two users: each runs a copy of their own, and each user's q7warnmsg
# reaches that user's copy only.
BUILD=$1
. "$(dirname "$0")/lib.sh"

[ -n "$USER_B" ] || { echo "needs root to act as two users"; exit 77; }

start_display
shared="$WORK/shared"
mkdir -p "$shared"
cp "$BUILD/bin/q7config" "$BUILD/bin/q7warnmsg" "$shared/"
cp -r "$BUILD/bin/modules" "$shared/"
chmod -R a+rX,go-w "$shared"

warn() { # warn NAME UID: q7warnmsg's exit code as that user
    local rc=0
    as_user "$2" env -i PATH=/usr/bin:/bin HOME="$WORK/$1/home" \
        XDG_RUNTIME_DIR="$WORK/$1/runtime" "$shared/q7warnmsg" "from $1" 2>/dev/null || rc=$?
    echo "$rc"
}

for u in a b; do
    uid=$USER_A
    [ "$u" = b ] && uid=$USER_B
    new_user_home "$u" "$uid"
    start_program "$u" "$uid" "$shared/q7config"
    wait_for_line "$WORK/$u/home/.local/share/q7config/setting/p_Q7.bin" "curProfile=3" ||
        { cat "$WORK/$u.log" >&2; fail "user $u's copy did not start"; }
done
kill -0 "$(cat "$WORK/a/pid")" || fail "user a's copy ended when user b started"

[ "$(warn a "$USER_A")" = 0 ] || fail "user a's message was not taken"
[ "$(warn b "$USER_B")" = 0 ] || fail "user b's message was not taken"
stop_program a
# With only user b's copy left, user a's sender must not reach it.
[ "$(warn a "$USER_A")" = 2 ] || fail "user a's message reached another user's copy"
[ "$(warn b "$USER_B")" = 0 ] || fail "user b's copy stopped taking messages"
stop_program b
echo "two users: one copy each, messages stay with their user"
