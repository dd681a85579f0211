# Sourced by the end-to-end scripts: how they count and print their checks. $failures ends as the
# number of checks that failed.
failures=0
pass() { echo "ok: $*"; }
fail() {
    echo "FAILED: $*"
    failures=$((failures + 1))
}
check() { # description, then a command that must succeed
    local what=$1
    shift
    if "$@"; then pass "$what"; else fail "$what"; fi
}
check_not() { # description, then a command that must fail
    local what=$1
    shift
    if "$@"; then fail "$what"; else pass "$what"; fi
}
contains() { grep -q -- "$2" <<<"$1"; }
