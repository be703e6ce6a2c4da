#!/bin/sh
# many_services_test.sh CHECK_EXE [COUNT]
# The Services dialog on a machine with many services. One EnumServicesStatusExA call
# into 30720 bytes cannot hold about 340 services; the dialog must list them all. The
# extra services are registered in a throwaway copy of the test prefix (a .reg file
# imported with regedit, then the wineserver restarted so that the Service Control
# Manager reads them), and CHECK_EXE runs the dialog there.
set -u
check=$1
count=${2:-320}
here=$(cd "$(dirname "$0")" && pwd)
: "${WINEPREFIX:?WINEPREFIX must name the shared test prefix}"
shared=$WINEPREFIX
if [ -z "${DISPLAY:-}" ] && [ -f "$shared.display" ]; then
  read -r num pid < "$shared.display" && DISPLAY=":$num" && export DISPLAY
fi
root=$(cd "$(dirname "$check")/.." && pwd)
work=$(mktemp -d "$root/many-services.XXXXXX") || exit 1
export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
cleanup() {
  wineserver -k >/dev/null 2>&1
  wineserver -w >/dev/null 2>&1
  rm -rf "$work"
}
trap cleanup EXIT INT TERM

# The shared prefix as it is on disk (its server keeps running for the other tests).
cp -a "$shared" "$WINEPREFIX" || { echo "FAIL: cannot copy the prefix"; exit 1; }
sh "$here/extra_services_reg.sh" "$count" > "$work/extra.reg"
"${ZEPH_WINE:-wine}" regedit /S "$(winepath -w "$work/extra.reg")" </dev/null >/dev/null 2>&1
wineserver -k >/dev/null 2>&1
wineserver -w
ZEPH_EXTRA_SERVICES=$count "${ZEPH_WINE:-wine}" "$check" </dev/null
