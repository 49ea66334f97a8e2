#!/usr/bin/env bash
# Long libFuzzer runs of every fuzz target, one after the other, and a table of the results.
#
#   scripts/fuzz-long.sh [seconds-per-target]      (default 600)
#
# Environment:
#   FUZZ_TARGETS="fuzz_a fuzz_b"   run only these targets
#   FUZZ_KEEP_CORPUS=1             merge the new inputs into the seed corpus in the repository
#                                  (by default they stay in build-fuzz/, out of the repository)
#   FUZZ_BUILD_DIR=dir             build folder (default build-fuzz)
#   FUZZ_FILE_LIMIT=bytes          size limit of a picked file (default 1 MiB, the program's own)
#
# The targets that read files start from their seeds and from large inputs grown from them
# to just under and just over the size limit (tests/fuzz/grow_seeds.py), with libFuzzer's
# length control off, so the long runs read files as large as a user may pick. Each target
# reports the largest input it executed.
#
# A target that crashes is started again from its corpus until its time is used up, so one
# fault does not hide the next; every crash leaves its input in build-fuzz/fuzz-long/.
# Exit status: 0 when no target crashed.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-600}
build=${FUZZ_BUILD_DIR:-build-fuzz}
out=$build/fuzz-long
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQ7_FUZZ=ON -DQ7_BUILD_BENCH=OFF \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ "${launcher[@]}" >/dev/null

# The targets and their arguments (dictionary, corpus folders) come from the test definitions,
# so the short runs of ./test.sh and these long ones read the same settings. ctest names a
# test's program only once it is built, so the targets are built before their commands are read.
listed() { ctest --test-dir "$build" -N "$@" | sed -n 's/^ *Test *#[0-9]*: //p'; }
targets=(${FUZZ_TARGETS:-$(listed -L fuzz | sort)})
cmake --build "$build" -j "$(nproc)" --target "${targets[@]}"

declare -A commands
while IFS= read -r line; do
    cmd=${line#*Test command: }
    name=$(basename "${cmd%% *}" | tr -d '"')
    commands[$name]=$cmd
done < <(ctest --test-dir "$build" -L fuzz -N -V | grep 'Test command: ' | grep -v 'Test command: *"-')

declare -A file_readers
while read -r name; do
    file_readers[$name]=1
done < <(listed -L fuzz-file-reader)
limit=${FUZZ_FILE_LIMIT:-1048576}

rm -rf "$out"
mkdir -p "$out"
total_crashes=0
rows=()
for t in "${targets[@]}"; do
    cmd=${commands[$t]:-}
    if [[ -z $cmd ]]; then
        echo "unknown fuzz target: $t" >&2
        exit 2
    fi
    # ctest prints each argument in double quotes.
    eval "args=($cmd)"
    # Our own time bound and artifact folder replace the short run's.
    kept=()
    for a in "${args[@]:1}"; do
        case $a in -max_total_time=* | -artifact_prefix=*) ;; *) kept+=("$a") ;; esac
    done
    large=()
    if [[ -n ${file_readers[$t]:-} ]]; then
        grown=$out/grown-$t
        python3 tests/fuzz/grow_seeds.py "${kept[-1]}" "$grown" "$limit"
        # The grown seeds are read, never written: new inputs go to the first corpus folder.
        large=(-max_len=$((limit + 4096)) -len_control=0 "$grown")
    fi
    log=$out/$t.log
    execs=0 cov=0 crashes=0
    deadline=$((SECONDS + seconds))
    echo "== $t: ${seconds}s =="
    while ((SECONDS < deadline)); do
        left=$((deadline - SECONDS))
        before=$(find "$out" -maxdepth 1 -name "$t-*" | wc -l)
        set +e
        ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
            QT_QPA_PLATFORM=offscreen TMPDIR=${TMPDIR:-/dev/shm} \
            "${args[0]}" -max_total_time="$left" -print_final_stats=1 \
            -artifact_prefix="$out/$t-" "${kept[@]}" "${large[@]}" >>"$log" 2>&1
        rc=$?
        set -e
        after=$(find "$out" -maxdepth 1 -name "$t-*" | wc -l)
        run_execs=$(grep -a 'stat::number_of_executed_units' "$log" | tail -1 | awk '{print $2}' || true)
        execs=$((execs + ${run_execs:-0}))
        c=$(grep -aoE 'cov: [0-9]+' "$log" | tail -1 | awk '{print $2}' || true)
        cov=${c:-$cov}
        if ((rc != 0)); then
            crashes=$((crashes + 1))
            if ((after == before)); then
                echo "$t stopped with status $rc and left no input; see $log" >&2
                break
            fi
        else
            break
        fi
    done
    total_crashes=$((total_crashes + crashes))
    biggest=$(grep -a 'largest input executed:' "$log" | awk '{print $4}' | sort -n | tail -1 || true)
    slowest=$(grep -a 'stat::slowest_unit_time_sec' "$log" | awk '{print $2}' | sort -n | tail -1 || true)
    rows+=("$(printf '%-24s %12s %10s %14s %10s %8s' "$t" "$execs" "$cov" "${biggest:-?}" \
        "${slowest:-?}" "$crashes")")
    if [[ ${FUZZ_KEEP_CORPUS:-0} == 1 ]]; then
        seeds=${kept[-1]} work=${kept[-2]}
        "${args[0]}" -merge=1 "$seeds" "$work" >>"$log" 2>&1
    fi
done

echo
printf '%-24s %12s %10s %14s %10s %8s\n' target executions coverage largest-bytes slowest-s crashes
printf '%s\n' "${rows[@]}"
echo "logs and crash inputs: $out"
((total_crashes == 0))
