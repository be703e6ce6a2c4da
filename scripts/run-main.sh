#!/bin/sh
# The main job: sets everything up, builds, and runs the controller under Wine on the
# example profile (a real run: a helper program and the Print Spooler are stopped, the
# main application runs at high priority with an auto-start program, everything is put
# back). Where a display exists, the GUI is started afterwards.
set -eu
cd "$(dirname "$0")/.."
ROOT=$(pwd)
sh scripts/install-deps.sh
# Only the two programs and the demo's programs: the tests build with the test command.
sh scripts/build.sh --target demo win64
BUILD="$ROOT/build/win64"
export WINEPREFIX="$BUILD/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
USER_DISPLAY="${DISPLAY:-}"
sh scripts/wine-prefix up
# Wine's programs start with a fixed address layout, as in the tests (see scripts/fixed-layout).
WINE_COMMAND=$(command -v wine)
wine() { "$ROOT/scripts/fixed-layout" "$WINE_COMMAND" "$@"; }
# The demo's programs have windows: without a display of the user's, they use the
# private one that wine-prefix started.
if [ -z "$USER_DISPLAY" ] && [ -f "$WINEPREFIX.display" ]; then
  read -r num pid < "$WINEPREFIX.display"
  DISPLAY=":$num"; export DISPLAY
fi

# The demo lives in a folder of its own inside the prefix's C: drive.
DEMO_UNIX="$WINEPREFIX/drive_c/Zephlaunch Demo"
DEMO='C:\Zephlaunch Demo'
rm -rf "$DEMO_UNIX"
mkdir -p "$DEMO_UNIX"
cp "$BUILD/bin/fixture_window.exe" "$DEMO_UNIX/demo_helper.exe"
cp "$BUILD/bin/fixture_mainapp.exe" "$DEMO_UNIX/demo_game.exe"
cp "$BUILD/bin/fixture_window.exe" "$DEMO_UNIX/demo_overlay.exe"
DEMO_SED=$(printf '%s' "$DEMO" | sed 's/\\/\\\\/g')
sed "s|@DEMO@|$DEMO_SED|g" examples/demo.ini.in > "$DEMO_UNIX/demo.ini"

# A service and a program for phases 3 and 2 to stop and phases 8 and 9 to start again.
wine net start spooler </dev/null >/dev/null 2>&1 || true
wine "$DEMO\\demo_helper.exe" </dev/null >/dev/null 2>&1 &
sleep 2

cd "$DEMO_UNIX"
wine "$BUILD/bin/zephrun.exe" "$DEMO\\demo.ini" </dev/null
echo
echo "--- zephrun_log.txt ---"
cat "$DEMO_UNIX/zephrun_log.txt"
echo

if [ -n "$USER_DISPLAY" ] && [ -z "${CI:-}" ]; then
  echo "Starting Zephlaunch.exe (close its window to finish)..."
  wine "$BUILD/bin/Zephlaunch.exe" </dev/null
fi
sh "$ROOT/scripts/wine-prefix" down
