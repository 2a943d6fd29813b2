#!/usr/bin/env bash
# The device access rule: every line a comment or a list of KEY op "value" pairs with
# keys udev knows and == / += / = only; it matches hidraw nodes of the configured
# vendor with each configured product in lowercase 4-digit hex and tags them for
# the seat's user; it never widens the node's mode.
#   check_udev_rule.sh RULE_FILE VENDOR PRODUCT...   (as configured: 0x1209, 4617, ...)
set -u
rule=$1; shift
source "$(dirname "$0")/lib.sh"
# The configured numbers as udev writes them, converted here on their own.
ids=()
for id in "$@"; do ids+=("$(printf '%04x' "$((id))")"); done
set -- "${ids[@]}"
vendor=$1; shift
[ "$(basename "$rule")" = 70-pallix-ostrel.rules ] || fail "the rule is named $(basename "$rule")"
[ -s "$rule" ] || { fail "no rule file $rule"; finish; exit; }

pair='(SUBSYSTEM|SUBSYSTEMS|KERNEL|ACTION|ATTRS\{idVendor\}|ATTRS\{idProduct\}|TAG)(==|\+=|=)"[^"]*"'
matched=()
n=0
while IFS= read -r line || [ -n "$line" ]; do
  n=$((n + 1))
  case "$line" in ''|'#'*) continue ;; esac
  [[ "$line" =~ ^${pair}(,\ ${pair})*$ ]] || { fail "line $n is not a list of known KEY op \"value\" pairs: $line"; continue; }
  # Matches compare with ==; the only assignment adds the tag (= would drop other tags).
  while IFS= read -r p; do
    case "$p" in
      TAG+=*|*==*) ;;
      *) fail "line $n: wrong operator in $p" ;;
    esac
  done < <(grep -oE "$pair" <<<"$line")
  grep -q 'SUBSYSTEM=="hidraw"' <<<"$line" || fail "line $n does not match hidraw nodes only: $line"
  grep -q 'TAG+="uaccess"' <<<"$line" || fail "line $n does not tag for the seat's user: $line"
  [[ "$line" =~ ATTRS\{idVendor\}==\"([^\"]*)\" ]] && v=${BASH_REMATCH[1]} || v=
  [[ "$line" =~ ATTRS\{idProduct\}==\"([^\"]*)\" ]] && p=${BASH_REMATCH[1]} || p=
  [[ "$v" =~ ^[0-9a-f]{4}$ && "$p" =~ ^[0-9a-f]{4}$ ]] || fail "line $n: identifiers not lowercase 4-digit hex: $line"
  [ "$v" = "$vendor" ] || fail "line $n: vendor $v, configured $vendor"
  matched+=("$p")
done <"$rule"
grep -qE 'MODE|GROUP|OWNER' "$rule" && fail "the rule changes mode, group or owner"
for product in "$@"; do
  printf '%s\n' "${matched[@]}" | grep -qxF "$product" || fail "no line for product $product"
done
[ "${#matched[@]}" -eq "$#" ] || fail "${#matched[@]} rule lines for $# products"
finish
