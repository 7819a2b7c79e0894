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
# Ends the given processes (a negative number names a process group), waits until they are gone
# so that none still writes into DIR (the program saves its settings as it ends), then removes
# DIR. A process still there after ten seconds is killed.
end_then_remove() {  # end_then_remove DIR PID...
  local dir=$1 p
  shift
  for p in "$@"; do [ -z "$p" ] || kill -- "$p" 2>/dev/null || true; done
  for p in "$@"; do
    [ -n "$p" ] || continue
    for _ in $(seq 200); do kill -0 -- "$p" 2>/dev/null || break; sleep 0.05; done
    kill -KILL -- "$p" 2>/dev/null || true
  done
  rm -rf "$dir"
}
