#!/usr/bin/env bash
# The command line answers without a display, and the manual page lists what --help lists.
set -euo pipefail
program=$1 manpage=$2 version=$3
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
bare() { env -i PATH=/usr/bin:/bin HOME="$out" "$@"; }

for option in --help -h; do
    bare "$program" "$option" >"$out/help" 2>"$out/err" || fail "$option exited $?"
done
bare "$program" --version >"$out/version" || fail "--version exited $?"
[ "$(cat "$out/version")" = "q7config $version" ] || fail "version: $(cat "$out/version")"

# Every option --help names is in the manual page with the same value name, and the other
# way round.
option_lines='^ +--?[a-z][a-z-]*(, --?[a-z][a-z-]*)*( [A-Z]+)?'
grep -E -- '^  -' "$out/help" | grep -oE -- "$option_lines" | sed -E 's/^ +//' |
    sort -u >"$out/help-options"
man -l "$manpage" 2>/dev/null | grep -E -- "$option_lines\$" | sed -E 's/^ +//' |
    sort -u >"$out/man-options"
[ -s "$out/help-options" ] || fail "--help lists no options"
diff "$out/help-options" "$out/man-options" || fail "--help and the manual page differ"

# Every command --help names is in the manual page, with an example in both.
commands=$(grep -E '^  [a-z]' "$out/help" | awk '{print $1}')
[ -n "$commands" ] || fail "--help lists no commands"
man -l "$manpage" 2>/dev/null >"$out/man"
for c in $commands; do
    grep -qE "^ +$c " "$out/man" && grep -q "q7config $c" "$out/man" ||
        fail "the manual page lacks the command $c or its example"
    grep -q "e.g. q7config $c" "$out/help" || fail "--help gives no example of $c"
done

# No display: one sentence of ours and a plain exit code, not Qt's abort.
rc=0
bare "$program" >"$out/stdout" 2>"$out/stderr" || rc=$?
[ "$rc" -eq 2 ] || fail "without a display the exit code was $rc"
[ "$(wc -l <"$out/stderr")" -eq 1 ] && grep -q "graphical desktop session" "$out/stderr" ||
    fail "without a display it said: $(cat "$out/stderr")"

rc=0
bare QT_QPA_PLATFORM=offscreen "$program" --no-such-option 2>"$out/stderr" || rc=$?
[ "$rc" -eq 1 ] && grep -q "no-such-option" "$out/stderr" || fail "a wrong option gave $rc"
for value in 0 6 x; do
    rc=0
    bare QT_QPA_PLATFORM=offscreen "$program" --profile "$value" 2>"$out/stderr" || rc=$?
    [ "$rc" -eq 1 ] && grep -q -- "--profile" "$out/stderr" || fail "--profile $value gave $rc"
done
echo "command line: help, version, manual page and the no-display message agree"
