# Shared by the packaging tests. Every check prints what failed and counts it.
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
finish() {
  [ "$failures" -eq 0 ] && { echo "all checks passed"; return 0; }
  echo "$failures check(s) failed" >&2
  return 1
}

# scratch_dir: a private folder removed when the script ends (kept with KEEP=1).
scratch_dir() {
  scratch=$(mktemp -d "${TMPDIR:-/tmp}/pallix-packaging.XXXXXX")
  [ "${KEEP:-0}" = 1 ] || trap 'rm -rf "$scratch"' EXIT
}

# A private settings store and runtime folder for the programs started here.
private_env() {
  export XDG_CONFIG_HOME="$scratch/config" XDG_RUNTIME_DIR="$scratch/runtime" HOME="$scratch/home"
  export QT_QPA_PLATFORM=offscreen
  mkdir -p "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR" "$HOME"
  chmod 700 "$XDG_RUNTIME_DIR"
}

# Options and words a program's parser compares its arguments with, from its source
# files: string literals that look like options, and `== "word"` comparisons.
#   parsed_words SOURCE_DIR FILE...
parsed_words() {
  local src=$1; shift
  (cd "$src" && grep -ohE '"(-{1,2}|/)[A-Za-z][A-Za-z0-9-]*"|== "[a-z][a-z0-9-]*"' "$@") |
    sed -E 's/^== //; s/"//g' | sort -u
}

# The man page as plain text (no hyphenation, long lines), so words can be found.
man_text() { groff -man -Tascii -rLL=400n -rHY=0 -P-cbou "$1" 2>/dev/null; }

# has_word TEXT WORD: WORD appears on its own (not inside a longer option or word).
has_word() {
  local escaped
  escaped=$(printf '%s' "$2" | sed 's/[][\.*^$/]/\\&/g')
  printf '%s\n' "$1" | grep -qE "(^|[^A-Za-z0-9-])${escaped}([^A-Za-z0-9-]|$)"
}

# check_program BIN MANPAGE WORD...: --help exits 0 and names every WORD, the man page
# names them too, --version exits 0 and prints the program's name and version.
check_program() {
  local bin=$1 man=$2 name help version rendered word; shift 2
  name=$(basename "$bin")
  help=$("$bin" --help 2>&1) || fail "$name --help exited with $?"
  version=$("$bin" --version 2>&1) || fail "$name --version exited with $?"
  printf '%s\n' "$version" | grep -qE "^$name [0-9]+\.[0-9]+\.[0-9]+$" || fail "$name --version printed '$version'"
  rendered=$(man_text "$man")
  [ -n "$rendered" ] || fail "man page $man does not render"
  [ -z "$(groff -man -ww -z "$man" 2>&1)" ] || fail "man page $man has warnings: $(groff -man -ww -z "$man" 2>&1)"
  for word in "$@"; do
    has_word "$help" "$word" || fail "$name --help does not mention '$word'"
    has_word "$rendered" "$word" || fail "man page of $name does not mention '$word'"
  done
}
