#!/usr/bin/env bash
# cmake --install into a staging folder, then the installed program as an unprivileged user:
# it starts, keeps its data under the user's data home, and leaves the installed tree as it
# was. The generated rule, desktop entry and metadata are checked where they were installed.
BUILD=$1
SOURCE=$2
. "$(dirname "$0")/lib.sh"

for tool in desktop-file-validate appstreamcli; do
    command -v "$tool" >/dev/null || fail "$tool is missing (scripts/install-deps.sh installs it)"
done

dest="$WORK/dest"
DESTDIR="$dest" cmake --install "$BUILD" --prefix /usr >/dev/null
chmod -R a+rX "$dest"
tree="$dest/usr"
sums() { (cd "$tree" && find . \( -type f -o -type l -o -type d \) -print0 | sort -z |
    xargs -0 sh -c 'for f; do if [ -f "$f" ] && [ ! -L "$f" ]; then sha256sum "$f"; else echo "$f"; fi; done' sh); }
sums >"$WORK/before"

# The layout: one private folder, a command that leads into it, the factory data beside it.
[ -L "$tree/bin/q7config" ] && [ -x "$tree/lib/q7config/q7config" ] || fail "no bin/q7config entry"
[ -x "$tree/lib/q7config/q7warnmsg" ] || fail "q7warnmsg is not beside the program"
for f in setting/p_Q7.bin setting/pD_Q7.bin setting/apConfig.bin setting/apConfigD.bin; do
    [ -f "$tree/lib/q7config/modules/$f" ] || fail "modules/$f is not installed"
done

# One uaccess line, hidraw only, with the ids of the entry the program binds.
rules="$tree/lib/udev/rules.d/70-q7config.rules"
bound=$(sed -nE 's/.*constexpr int boundEntryIndex = ([0-9]+);.*/\1/p' "$SOURCE/device/DevInfo.h")
awk -F= -v want="[$bound]" '/^\[[0-9]+\]/ {e = ($0 == want)} e && $1=="vid" {v=tolower($2)} e && $1=="pid" {print v ":" tolower($2); e=0}' \
    "$SOURCE/device/DevInfo.ini" | sort >"$WORK/table-ids"
[ "$(wc -l <"$WORK/table-ids")" -eq 1 ] || fail "no bound entry in the device table"
grep -v '^#' "$rules" >"$WORK/rule-lines" || true
[ "$(wc -l <"$WORK/rule-lines")" -eq 1 ] || fail "the rule has other lines than the bound device's"
grep -q '^SUBSYSTEM=="hidraw", ' "$WORK/rule-lines" || fail "the rule reaches beyond hidraw"
sed -nE 's/.*idVendor}=="([0-9a-f]{4})".*idProduct}=="([0-9a-f]{4})".*uaccess.*/\1:\2/p' "$rules" |
    sort >"$WORK/rule-ids"
diff "$WORK/table-ids" "$WORK/rule-ids" || fail "the rule's ids differ from the device table's"

desktop-file-validate "$tree/share/applications/org.q7config.q7config.desktop" ||
    fail "desktop entry invalid"
appstreamcli validate --no-net "$tree/share/metainfo/org.q7config.q7config.metainfo.xml" >"$WORK/as.log" 2>&1 ||
    { cat "$WORK/as.log" >&2; fail "AppStream metadata invalid"; }

# The journeys' test hook is a library they preload; nothing of it is installed, and the
# installed program does not listen where Q7_TEST_GEOMETRY says.
! grep -rlq -e Q7_TEST_GEOMETRY -e testhook "$tree" || fail "the installed tree carries the test hook"

start_display
new_user_home user "$USER_A"
PROGRAM_ENV="Q7_TEST_GEOMETRY=$WORK/user/hook" start_program user "$USER_A" "$tree/bin/q7config"
data="$WORK/user/home/.local/share/q7config"
# The virtual mouse is on profile 3: the start-up refill stores that in the profile file.
wait_for_line "$data/setting/p_Q7.bin" "curProfile=3" ||
    { cat "$WORK/user.log" >&2; fail "the profile switch was not stored under the data home"; }
[ ! -e "$WORK/user/hook" ] || fail "the installed program listens for a test hook"
stop_program user
[ -f "$data/setting/apConfig.bin" ] && [ -d "$data/macro/1" ] || fail "data home not seeded"

sums >"$WORK/after"
diff "$WORK/before" "$WORK/after" || fail "the installed tree changed while the program ran"
echo "install: layout, rule, desktop entry and metadata fine; data kept per user"
