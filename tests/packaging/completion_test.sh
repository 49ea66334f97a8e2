#!/usr/bin/env bash
# Bash completes the commands and the settings --help lists, no more and no fewer.
set -euo pipefail
program=$1 completion=$2
fail() { echo "FAIL: $*" >&2; exit 1; }
[ -r /usr/share/bash-completion/bash_completion ] || { echo "bash-completion is not installed"; exit 77; }
source /usr/share/bash-completion/bash_completion
source "$completion"

complete_words() {
    COMP_WORDS=("$@")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMP_LINE="$*"
    COMP_POINT=${#COMP_LINE}
    COMPREPLY=()
    _q7config
    printf '%s\n' "${COMPREPLY[@]}" | sort
}

help=$(env -i PATH=/usr/bin:/bin HOME=/tmp "$program" --help)
commands=$(grep -E '^  [a-z]' <<<"$help" | awk '{print $1}' | sort)
[ "$(complete_words q7config '')" = "$commands" ] ||
    fail "commands completed: $(complete_words q7config '' | xargs), --help: $(xargs <<<"$commands")"
settings=$(grep -E '^  set ' <<<"$help" | awk '{print $2}' | tr '|' '\n' | sort)
[ "$(complete_words q7config set '')" = "$settings" ] || fail "settings differ from --help's"
[ "$(complete_words q7config set rate 125 --profile '' | xargs)" = "1 2 3 4 5" ] ||
    fail "--profile does not complete the profiles"
[ "$(complete_words q7config status --)" = "--json" ] || fail "status does not complete --json"
echo "completion: commands and settings as --help lists them"
