#!/bin/sh
# window_listing_test.sh ZEPHRUN_EXE FIXTURE_WINDOW_EXE
#
# Phase 2 asks a program to close through its top-level windows. Windows 9x/ME has no
# EnumDesktopWindows, so there the controller must list the windows with EnumWindows; on
# the NT family it uses EnumDesktopWindows. Wine has both whatever version it reports, so
# Wine's relay trace (on the controller's Unix standard error, which a test inside Wine
# cannot read) shows which one was called. In both modes the program must close by itself
# (exit code 7) rather than be terminated (exit code 0).
# Runs in the shared test prefix (WINEPREFIX from the test environment).
set -u
: "${WINEPREFIX:?WINEPREFIX must name the test prefix}"
here=$(cd "$(dirname "$0")" && pwd)
wine_run="$here/../../../scripts/wine-run"
zephrun=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
fixture=$(cd "$(dirname "$2")" && pwd)/$(basename "$2")
root=$(cd "$(dirname "$zephrun")/.." && pwd)
work=$(mktemp -d "$root/window-listing.XXXXXX") || exit 1
version_key='HKCU\Software\Wine\AppDefaults\zephrun_list98.exe'
cleanup() {
  WINEDEBUG=-all "$wine_run" reg delete "$version_key" /f >/dev/null 2>&1
  rm -rf "$work"
}
trap cleanup EXIT INT TERM
failed=0
fail() { echo "FAIL: $*"; failed=1; }
winpath() { printf 'Z:%s' "$1" | tr / '\\'; }

cp "$zephrun" "$work/zephrun_list98.exe" && cp "$zephrun" "$work/zephrun_listnt.exe" &&
  cp "$fixture" "$work/list_prog.exe" || exit 1
WINEDEBUG=-all "$wine_run" reg add "$version_key" /v Version /d win98 /f >/dev/null 2>&1 ||
  { echo "cannot set the Windows version"; exit 1; }
printf '[Configuration]\r\nnonresponse=10\r\n[Programs]\r\nlist_prog.exe=Stop\r\n' > "$work/profile.ini"
cd "$work" || exit 1

# run MODE: starts the program, waits until its window exists, runs the controller copy
# zephrun_listMODE.exe with the relay trace on and checks how the program ended and which
# window listing the controller called.
run() {
  mode=$1 wanted=$2 unwanted=$3
  rm -f ready.txt
  WINEDEBUG=-all "$wine_run" list_prog.exe --ready-file "$(winpath "$work/ready.txt")" >/dev/null 2>&1 &
  program=$!
  tries=0
  while [ ! -f ready.txt ] && [ $tries -lt 300 ]; do sleep 0.1; tries=$((tries + 1)); done
  [ -f ready.txt ] || { fail "$mode: the program did not get ready"; kill "$program"; return; }
  WINEDEBUG=+relay "$wine_run" "zephrun_list$mode.exe" "$(winpath "$work/profile.ini")" \
    </dev/null >"out_$mode.txt" 2>"trace_$mode.txt"
  wait "$program"
  code=$?
  [ $code = 7 ] || fail "$mode: the program ended with $code, not by itself (7)"
  grep -q "Terminating list_prog.exe" "out_$mode.txt" || fail "$mode: no Terminating line"
  calls=$(grep -c ":Call user32\.$wanted(" "trace_$mode.txt")
  others=$(grep -c ":Call user32\.$unwanted(" "trace_$mode.txt")
  [ "$calls" = 1 ] || fail "$mode: $calls calls of $wanted (1 expected)"
  [ "$others" = 0 ] || fail "$mode: $others calls of $unwanted (none expected)"
}

run 98 EnumWindows EnumDesktopWindows
run nt EnumDesktopWindows EnumWindows
[ $failed = 0 ] && echo "win98: EnumWindows, NT: EnumDesktopWindows; the program closed by itself both times"
exit $failed
