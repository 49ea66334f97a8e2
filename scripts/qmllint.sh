#!/usr/bin/env bash
# qmllint over every QML file of the interface and its tests.
#   scripts/qmllint.sh <build folder>
# The interface is linted in the build's copy of the QML module, where the generated files
# (basic/KeyCodeString.qml, Q7/BlockLayout.js) sit beside the others; findings are reported
# against the source files.
#
# Two kinds of finding do not fail the step:
#   - lookups of the objects the program publishes to every QML file (mainIten, ui_View,
#     ui_Ctl, nativeTypes): qmllint cannot see them; they are counted;
#   - any finding in a file listed in scripts/qmllint-pending.txt (files with findings that
#     are still being worked on); they are printed as warnings.
# Every other finding fails.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build}
qmllint=${QMLLINT:-/usr/lib/qt6/bin/qmllint}
module="$build/qml/modules/qml"
pending=scripts/qmllint-pending.txt
published='^(mainIten|ui_View|ui_Ctl|nativeTypes)$'

if [[ ! -x $qmllint ]]; then
    echo "qmllint not found at $qmllint" >&2
    exit 1
fi
if [[ ! -d $module ]]; then
    echo "no QML module in $module: build the q7_qml target first" >&2
    exit 1
fi

# Prints "<source file>\t<line:col>\t<identifier or ->\t<message>" for every warning.
findings() {
    local lint_path=$1 source_path=$2
    { "$qmllint" -I "$build/qml" "$lint_path" 2>&1 || true; } | awk -v src="$source_path" '
        /^Warning: / {
            if (have) print src "\t" pos "\t-\t" msg
            line = $0; sub(/^Warning: [^:]*:/, "", line)
            split(line, p, ":"); pos = p[1] ":" p[2]; col = p[2] + 0
            msg = line; sub(/^[0-9]+:[0-9]+: /, "", msg)
            have = 1; want_code = 1; next
        }
        want_code && have {
            want_code = 0
            id = substr($0, col)
            if (match(id, /^[A-Za-z_][A-Za-z0-9_]*/)) id = substr(id, 1, RLENGTH); else id = "-"
            print src "\t" pos "\t" id "\t" msg
            have = 0; next
        }
        END { if (have) print src "\t" pos "\t-\t" msg }'
}

all=$(mktemp)
trap 'rm -f "$all"' EXIT
while IFS= read -r f; do
    rel=${f#modules/qml/}
    findings "$module/$rel" "$f" >>"$all"
done < <(find modules/qml -name '*.qml' | sort)
while IFS= read -r f; do
    findings "$f" "$f" >>"$all"
done < <(find tests -name '*.qml' | sort)

published_count=$(awk -F'\t' -v re="$published" '$2 != "" && $3 ~ re && $4 ~ /^Unqualified access/' "$all" | wc -l)
others=$(awk -F'\t' -v re="$published" '!($3 ~ re && $4 ~ /^Unqualified access/)' "$all")

failed=0
while IFS=$'\t' read -r file pos id msg; do
    [[ -z $file ]] && continue
    if grep -qxF "$file" <(grep -v '^#' "$pending" 2>/dev/null); then
        echo "warning (pending): $file:$pos: $msg${id:+ [$id]}"
    else
        echo "error: $file:$pos: $msg${id:+ [$id]}"
        failed=1
    fi
done <<<"$others"

files=$( (find modules/qml tests -name '*.qml') | wc -l)
echo "qmllint: $files files; $published_count lookups of the published objects;" \
     "$(grep -c . <<<"$others" || true) other findings"
exit $failed
