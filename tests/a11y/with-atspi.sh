#!/usr/bin/env bash
# with-atspi.sh [COMMAND...] PROGRAM -- CHECK [CHECK_ARGS...]
#
# Runs the program the way a screen reader meets it: on a private session bus of its own with
# the accessibility bus launched on it, accessibility forced on in Qt, then runs CHECK (a
# client of that bus) with the program's pid in Q7_A11Y_PID, and ends the program after it.
# Meant to run inside isolated-run.sh --display, which supplies the X server and the folders.
set -uo pipefail

program=()
while [ $# -gt 0 ] && [ "$1" != "--" ]; do
    program+=("$1")
    shift
done
shift || true
if [ ${#program[@]} -eq 0 ] || [ $# -eq 0 ]; then
    echo "usage: with-atspi.sh [COMMAND...] PROGRAM -- CHECK [ARGS...]" >&2
    exit 2
fi

if [ -z "${Q7_A11Y_INNER:-}" ]; then
    export Q7_A11Y_INNER=1
    exec dbus-run-session -- "$0" "${program[@]}" -- "$@"
fi

# The program runs from a copy of its folder, as the journeys do: a copy beside its own modules/
# writes its settings there, and the build tree's must stay as built for the other tests.
built=$(dirname "${program[-1]}")
mkdir "$TMPDIR/program"
cp -r "$built/$(basename "${program[-1]}")" "$built/modules" "$TMPDIR/program/"
program[-1]="$TMPDIR/program/$(basename "${program[-1]}")"

/usr/libexec/at-spi-bus-launcher --launch-immediately >"$TMPDIR/atspi.log" 2>&1 &
launcher=$!
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1 "${program[@]}" >"$TMPDIR/program.log" 2>&1 &
program_pid=$!
Q7_A11Y_PID=$program_pid "$@"
status=$?
kill "$program_pid" "$launcher" 2>/dev/null
wait "$program_pid" 2>/dev/null
if [ $status -ne 0 ]; then
    echo "--- program output" >&2
    tail -n 40 "$TMPDIR/program.log" >&2
fi
exit $status
