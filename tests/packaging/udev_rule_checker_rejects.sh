#!/usr/bin/env bash
# The rule check must catch the faults that would cost users access or security:
# each broken copy of the real rule has to be rejected.
#   udev_rule_checker_rejects.sh RULE_FILE VENDOR PRODUCT...
set -u
rule=$1; shift
here=$(dirname "$0")
source "$here/lib.sh"
scratch_dir
mkdir -p "$scratch/broken"
broken=$scratch/broken/70-pallix-ostrel.rules
while IFS='|' read -r what edit; do
  sed -E "$edit" "$rule" >"$broken"
  cmp -s "$rule" "$broken" && { fail "fixture '$what' did not change the rule"; continue; }
  "$here/check_udev_rule.sh" "$broken" "$@" >/dev/null 2>&1 && fail "accepted a rule with $what"
done <<'CASES'
a 0x prefix on the product|s/idProduct}=="([0-9a-f]{4})"/idProduct}=="0x\1"/
an identifier without its leading zeros|s/idProduct}=="0+([0-9a-f]+)"/idProduct}=="\1"/
another vendor|s/idVendor}=="[0-9a-f]{4}"/idVendor}=="dead"/
a tag that replaces the others|s/TAG\+=/TAG=/
an assignment where a match belongs|s/SUBSYSTEM=="hidraw"/SUBSYSTEM="hidraw"/
every device class|s/SUBSYSTEM=="hidraw", //
a world-writable node|s/$/, MODE="0666"/
a missing product line|$d
no uaccess tag|s/TAG\+="uaccess"/TAG+="seat"/
an unknown key|s/ATTRS\{idVendor\}/ATTRS{vendor}/
an unquoted value|s/=="hidraw"/==hidraw/
CASES
finish
