# Shell helpers of the script tests, sourced: a failed check is counted and the script goes on,
# so one run shows every fault; `checks_done NAME` ends it with the verdict.
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}
check() {  # check DESCRIPTION COMMAND...
  local what="$1"
  shift
  "$@" || fail "$what"
}
checks_done() {  # checks_done NAME
  if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed" >&2
    exit 1
  fi
  echo "$1: all checks passed"
}
