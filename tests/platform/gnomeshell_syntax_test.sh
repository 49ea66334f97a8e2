#!/usr/bin/env bash
# The shell extension's JavaScript parses, in both forms: a typo would otherwise show only
# in a user's shell log. gjs is the shell's own engine, for the form GNOME 43 and 44 load
# as a script; node parses the generated ES module form without linking its imports.
# gnomeshell_syntax_test.sh SOURCE_EXTENSION_DIR GENERATED_ESM_DIR
set -euo pipefail
src=$1
esm=$2
fail() { echo "FAIL: $*" >&2; exit 1; }
command -v gjs >/dev/null || { echo "SKIP: gjs is missing (package gjs)"; exit 77; }

gjs -c '
const [, bytes] = imports.gi.GLib.file_get_contents(ARGV[0]);
new Function(new TextDecoder().decode(bytes));
' "$src/extension.js" || fail "$src/extension.js does not parse"

# The generated form must carry the body, not just its wrapper.
grep -q 'class ActiveWindowPublisher' "$esm/extension.js" || fail "the ES module form lacks the body"
grep -q '^export default class' "$esm/extension.js" || fail "the ES module form exports no extension"
command -v node >/dev/null || { echo "SKIP: node is missing for the ES module form"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$esm/extension.js" "$work/extension.mjs"
node --check "$work/extension.mjs" || fail "$esm/extension.js does not parse as a module"
echo "both forms parse"
