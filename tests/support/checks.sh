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
# Polls for up to 60 seconds until the command succeeds.
wait_for() {
  for _ in $(seq 1200); do "$@" >/dev/null 2>&1 && return 0; sleep 0.05; done
  return 1
}
# A fresh copy of the program folder PROGRAM_DIR (no settings file yet) at DEST, by default $dir,
# the test's temporary folder, with HOME and XDG_CONFIG_HOME in $dir and a runtime folder of its
# own, $dir/run: the instance lock lives there, and a program of another test must not make this
# one the second instance.
fresh_copy() {  # fresh_copy PROGRAM_DIR [DEST]
  local to=${2:-$dir}
  mkdir -p "$to"
  mkdir -m 700 "$dir/run"
  cp -r "$1"/. "$to/"
  rm -f "$to/Vantrel.ini"
  export HOME=$dir XDG_CONFIG_HOME=$dir/config XDG_RUNTIME_DIR=$dir/run
}
# The preloaded pad (tests/support/PadPreload.cpp) follows the lines written to descriptor 3.
pad_fifo() {
  mkfifo "$dir/pad"
  exec 3<>"$dir/pad"
  export VANTREL_PAD_CONTROL=$dir/pad
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
