# Sourced by the script tests: `check WHAT COMMAND...` runs COMMAND, reports
# "ok: WHAT" or "FAILED: WHAT" and counts the failures in $failures, so one run
# shows every failed check.
failures=0
check() {
    local what=$1
    shift
    if "$@"; then
        echo "ok: $what"
    else
        echo "FAILED: $what" >&2
        failures=$((failures + 1))
    fi
}
