#!/usr/bin/env bash
# scripts/install --uinput-rule and scripts/uninstall --uinput-rule in a temporary root: the rule
# file, its exact line and its place before 73-seat-late.rules; removal leaves other rules alone;
# without root (and without a test root) both refuse and say so.
# Usage: uinput_rule_test.sh SOURCE_DIR
set -euo pipefail
src="$1"
tmp=$(mktemp -d)
chmod 755 "$tmp"
trap 'rm -rf "$tmp"' EXIT
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

export VANTREL_ROOT="$tmp/root"
rules="$VANTREL_ROOT/etc/udev/rules.d"
mkdir -p "$rules"
echo 'KERNEL=="other"' >"$rules/70-other.rules"
rule="$rules/60-vantrel-uinput.rules"

"$src/scripts/install" --uinput-rule >/dev/null || fail "install --uinput-rule failed"
"$src/scripts/install" --uinput-rule >/dev/null || fail "installing twice failed"
[ "$(grep -v '^#' "$rule")" = 'KERNEL=="uinput", SUBSYSTEM=="misc", TAG+="uaccess", OPTIONS+="static_node=uinput"' ] ||
  fail "rule line: $(cat "$rule" 2>&1)"
first=$(printf '%s\n' 60-vantrel-uinput.rules 73-seat-late.rules | LC_ALL=C sort | head -n1)
[ "$first" = 60-vantrel-uinput.rules ] || fail "the rule sorts after 73-seat-late.rules"
[ -z "$(find "$rules" -name '*.tmp')" ] || fail "a temporary file stayed"

"$src/scripts/uninstall" --uinput-rule >/dev/null || fail "uninstall --uinput-rule failed"
[ ! -e "$rule" ] || fail "the rule is still there"
[ -f "$rules/70-other.rules" ] || fail "another rule was removed"

# Without root and without a test root: a clear refusal, nothing written.
if [ "$(id -u)" -eq 0 ]; then
  out=$(setpriv --reuid=nobody --regid=nogroup --clear-groups env -u VANTREL_ROOT \
    "$src/scripts/install" --uinput-rule 2>&1) && fail "install --uinput-rule ran without root"
  case "$out" in *"needs root"*) ;; *) fail "no word on root: $out" ;; esac
  out=$(setpriv --reuid=nobody --regid=nogroup --clear-groups env -u VANTREL_ROOT \
    "$src/scripts/uninstall" --uinput-rule 2>&1) && fail "uninstall --uinput-rule ran without root"
  case "$out" in *"needs root"*) ;; *) fail "no word on root: $out" ;; esac
fi

[ "$failures" -eq 0 ] || exit 1
echo "uinput rule: all checks passed"
