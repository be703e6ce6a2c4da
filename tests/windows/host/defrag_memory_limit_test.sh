#!/bin/sh
# defrag_memory_limit_test.sh ZEPHRUN_EXE KILOBYTES
#
# Phase 4 on a machine with more memory than the controller's address space can take
# (as for a 32-bit controller on a big machine): the controller runs under an address
# space limit (ulimit -v), so an allocation fails for real after some blocks. The phase
# must end with its error line, and the run must go on to its end instead of crashing.
# KILOBYTES is the limit: room for Wine and some blocks, less than the 356 blocks need.
# Runs in the shared test prefix (WINEPREFIX from the test environment), with the Wine loader
# of the controller's architecture (ZEPH_WINE).
set -u
: "${WINEPREFIX:?WINEPREFIX must name the test prefix}"
zephrun=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
root=$(cd "$(dirname "$zephrun")/.." && pwd)
work=$(mktemp -d "$root/defrag-limit.XXXXXX") || exit 1
trap 'rm -rf "$work"' EXIT INT TERM
failed=0
fail() { echo "FAIL: $*"; failed=1; }

printf '[Configuration]\r\ndefragmem=1\r\nlogging=1\r\n' > "$work/profile.ini"
cd "$work" || exit 1
limit=$2
(ulimit -v "$limit" && exec "${ZEPH_WINE:-wine}" "$zephrun" "$(printf 'Z:%s' "$work/profile.ini" | tr / '\\')") \
  </dev/null >"$work/out.txt" 2>"$work/err.txt"
code=$?
[ $code = 0 ] || fail "exit code $code: $(head -c 400 "$work/err.txt")"

log=$(tr '\r' '~' < "$work/zephrun_log.txt")
case "$log" in
  *"~~
Phase 4: Defragmenting memory (this may take a few minutes)~~
~Allocating block 1 of "*) ;;
  *) fail "no phase 4 progress in the log" ;;
esac
# The failing block's progress line, the error line, then the rest of the run.
last=$(printf '%s' "$log" | grep -o '~Allocating block [0-9]* of [0-9]*~~$' | tail -1)
after=$(printf '%s' "$log" | sed -n '/^Unable to allocate memory~~$/,$p')
blocks=$(printf '%s' "$last" | sed 's/~Allocating block \([0-9]*\) of.*/\1/')
[ -n "$last" ] || fail "the error line does not follow a progress line"
[ "${blocks:-0}" -ge 2 ] || fail "the limit left no room for a block (${blocks:-none}); nothing to free"
case "$after" in
  "Unable to allocate memory~~
Free physical memory at end: "*"Phase 9:  Restarting Programs~~
Zephlaunch Control Program finished.~~") ;;
  *) fail "the run did not go on to its end after the error: $after" ;;
esac
[ $failed = 0 ] && echo "phase 4 ended with its error line after $((blocks - 1)) blocks; the run went on"
exit $failed
