#!/usr/bin/env bash
# A copy of the program in a folder its user can write keeps working as before: every file
# it writes lands in its own modules/, nothing under the user's data home.
BUILD=$1
. "$(dirname "$0")/lib.sh"

start_display
program_dir="$WORK/portable"
mkdir -p "$program_dir"
cp "$BUILD/bin/q7config" "$program_dir/"
cp -r "$BUILD/bin/modules" "$program_dir/"
[ "$(id -u)" -eq 0 ] && chown -R "$USER_A:$USER_A" "$program_dir"
new_user_home user "$USER_A"

start_program user "$USER_A" "$program_dir/q7config"
# The virtual mouse is on profile 3: the start-up refill stores it in the profile file.
wait_for_line "$program_dir/modules/setting/p_Q7.bin" "curProfile=3" ||
    { cat "$WORK/user.log" >&2; fail "the profile file beside the program was not written"; }
stop_program user

[ ! -e "$WORK/user/home/.local/share/q7config" ] || fail "data written under the data home"
# The copy came readable by all; what the program keeps in it is the user's alone.
[ "$(stat -c %a "$program_dir/modules/setting/p_Q7.bin")" = 600 ] ||
    fail "the profile file beside the program stays readable by others"
echo "build tree: data stays beside the program"
