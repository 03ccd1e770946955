# Sourced by the project's scripts. Each step runs with its output in a log
# under build/logs; a step that fails says in one line which step it was and
# why, then shows the end of its log, and the script exits non-zero. Anything
# else that fails under `set -e` is named by the ERR trap.
script_name=$(basename "$0")
log_dir=$PWD/build/logs
mkdir -p "$log_dir"

trap 'echo "$script_name: \"$BASH_COMMAND\" failed (exit $?) at line $LINENO" >&2' ERR

# The first line of a log that says what went wrong, else its last line.
failure_reason() {
  local reason
  reason=$(grep -m1 -iE 'error|fatal|failed|cannot|not found|unable' "$1" || true)
  [[ -n $reason ]] || reason=$(grep -v '^[[:space:]]*$' "$1" | tail -n 1 || true)
  echo "${reason:-no output}"
}

# step NAME COMMAND...: runs COMMAND quietly, its output kept in a log.
step() {
  local name=$1
  shift
  local log=$log_dir/${name//[^A-Za-z0-9_.-]/-}.log
  local status=0
  "$@" >"$log" 2>&1 </dev/null || status=$?
  if [[ $status -ne 0 ]]; then
    echo "$script_name: $name failed (exit $status): $(failure_reason "$log")" >&2
    echo "--- last lines of $log:" >&2
    tail -n 40 "$log" >&2
    exit 1
  fi
}

# shown_step NAME COMMAND...: runs COMMAND with its output on the terminal,
# for steps whose output is the point (test runs).
shown_step() {
  local name=$1
  shift
  local status=0
  "$@" || status=$?
  if [[ $status -ne 0 ]]; then
    echo "$script_name: $name failed (exit $status); its output is above" >&2
    exit 1
  fi
}
