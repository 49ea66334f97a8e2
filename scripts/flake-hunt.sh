#!/usr/bin/env bash
# flake-hunt.sh [N] [ctest selection...]
#
# Builds the Release tree once, then runs the chosen tests N times (default 20), as many at
# once as test.sh runs them, and prints per test how often it failed and the output of its
# first failure. Without a selection it hunts twice: the journeys and the packaging tests,
# then the whole Release suite.
#
#   scripts/flake-hunt.sh 20                         # journeys + packaging, then everything
#   scripts/flake-hunt.sh 10 -R .                    # the whole Release suite only
#   scripts/flake-hunt.sh 50 -R tst_journey_dialogs  # one test
#
# Exit code 0 when nothing failed in any round. Logs stay in build/flake-hunt/.
set -euo pipefail
cd "$(dirname "$0")/.."

rounds=${1:-20}
[ $# -gt 0 ] && shift
[[ "$rounds" =~ ^[1-9][0-9]*$ ]] || { echo "usage: $0 [N] [ctest selection...]" >&2; exit 2; }

./scripts/install-deps.sh
launcher=()
if command -v ccache >/dev/null; then
    export CCACHE_BASEDIR="$PWD"
    launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release "${launcher[@]}" >/dev/null
cmake --build build -j "$(nproc)"

logs=build/flake-hunt
rm -rf "$logs"
mkdir -p "$logs"

# hunt NAME ctest-arguments...: N rounds; per round the junit report, whose failed cases
# carry their own output.
hunt() {
    local name=$1 i failed=0 start=$SECONDS
    shift
    echo "== $name: $rounds rounds of ctest $* (load $(cut -d' ' -f1-3 /proc/loadavg)) =="
    for i in $(seq "$rounds"); do
        if ! ctest --test-dir build -j "$(nproc)" --output-junit "$PWD/$logs/$name-$i.xml" \
            "$@" >"$logs/$name-$i.log" 2>&1; then
            failed=$((failed + 1))
        fi
        printf '   round %d: %s\n' "$i" "$(grep -a -E 'tests passed|tests failed' "$logs/$name-$i.log" | tail -n 1)"
    done
    python3 - "$logs" "$name" "$rounds" <<'PY'
import glob, sys, xml.etree.ElementTree as ET
logs, name, rounds = sys.argv[1], sys.argv[2], int(sys.argv[3])
runs, fails, first = {}, {}, {}
for r in range(1, rounds + 1):
    try:
        suite = ET.parse(f"{logs}/{name}-{r}.xml").getroot()
    except (OSError, ET.ParseError):
        continue
    for case in suite.iter("testcase"):
        t = case.get("name")
        runs[t] = runs.get(t, 0) + 1
        if case.get("status") in ("fail", "error") or case.find("failure") is not None:
            fails[t] = fails.get(t, 0) + 1
            if t not in first:
                out = case.findtext("system-out") or ""
                first[t] = (r, "\n".join(out.splitlines()[-60:]))
width = max((len(t) for t in runs), default=4)
for t in sorted(runs):
    print(f"   {t:<{width}}  failed {fails.get(t, 0)} of {runs[t]}")
for t, (r, out) in sorted(first.items()):
    print(f"\n-- {t}: first failure, round {r} --\n{out}")
PY
    echo "   ($name: $failed of $rounds rounds had a failure, $((SECONDS - start)) s, load $(cut -d' ' -f1-3 /proc/loadavg))"
    return $((failed > 0))
}

status=0
if [ $# -gt 0 ]; then
    hunt chosen "$@" || status=1
else
    hunt journeys-packaging -L 'journey|packaging' || status=1
    hunt release-suite || status=1
fi
exit $status
