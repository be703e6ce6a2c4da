#!/bin/sh
# installer_test.sh SOURCE_DIR INSTALLER_PROBE_EXE
#
# The packages as a user gets them. Runs scripts/package.sh into a folder of its own,
# checks both zips (contents, architecture, stripped programs), then, in a throwaway
# Wine prefix:
#   - setup.exe /S installs into %LOCALAPPDATA%\Programs\Zephlaunch, the x86_64 build
#     on this 64-bit prefix;
#   - the Start-menu link, read back through IShellLink, starts Zephlaunch.exe in the
#     program folder; the uninstall entry is complete;
#   - the installed controller runs a profile; the installed GUI, started through the
#     link, starts the installed controller with its Start button;
#   - uninstall.exe /S removes programs, link and entry, and leaves the user's settings
#     folder and profiles alone.
# A 32-bit prefix then checks that the i686 build is installed there.
#
# The installer is a 32-bit program (it must run on 32-bit Windows). Where Wine cannot
# run 32-bit programs (no wine32:i386, or a kernel without 32-bit support), the steps
# above run a 64-bit build of the same installer script instead (package.sh
# --test-installer), the 32-bit prefix is left out, and the test says so.
# Exit 77 (skipped) where makensis is missing.
set -u
src=$1
probe=$2
if ! command -v makensis >/dev/null 2>&1; then
  echo "SKIPPED: makensis not found: install Debian's nsis package (scripts/install-deps.sh) to build and test the installer"
  exit 77
fi
# The installed GUI needs a display: the one the test run's prefix fixture started.
shared_prefix=${WINEPREFIX:-}
if [ -z "${DISPLAY:-}" ] && [ -n "$shared_prefix" ] && [ -f "$shared_prefix.display" ]; then
  read -r num pid < "$shared_prefix.display" && DISPLAY=":$num" && export DISPLAY
fi
build=$(cd "$(dirname "$probe")/.." && pwd)
work=$(mktemp -d "$build/package-test.XXXXXX") || exit 1
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
failed=0

cleanup() {
  for prefix in "$work/prefix" "$work/prefix32"; do
    [ -d "$prefix" ] && WINEPREFIX=$prefix wineserver -k >/dev/null 2>&1
  done
  rm -rf "$work"
}
trap cleanup EXIT INT TERM

fail() { echo "FAIL: $*"; failed=1; }
check_eq() {  # WHAT ACTUAL EXPECTED
  [ "$2" = "$3" ] || fail "$1: got [$2], expected [$3]"
}

# pe_info FILE: "machine=<hex> symbols=<n> debug=<n>" from the PE headers.
pe_info() {
  python3 - "$1" <<'PY'
import struct, sys
data = open(sys.argv[1], "rb").read()
pe = struct.unpack_from("<I", data, 0x3C)[0]
machine, sections, _, symtab, symbols, opt_size = struct.unpack_from("<HHIIIH", data, pe + 4)
table = pe + 24 + opt_size
strings = symtab + 18 * symbols
def name(raw):
    raw = raw.rstrip(b"\0")
    if raw.startswith(b"/"):  # a long name, kept in the string table
        start = strings + int(raw[1:])
        return data[start:data.index(b"\0", start)]
    return raw
names = [name(data[table + 40 * i: table + 40 * i + 8]) for i in range(sections)]
debug = sum(1 for n in names if n.startswith(b".debug"))
print("machine=%x symbols=%d debug=%d" % (machine, symbols, debug))
PY
}

# ---- Packages -----------------------------------------------------------------
version=$(sed -n 's/^project(Zephlaunch VERSION \([0-9][0-9.]*\).*/\1/p' "$src/CMakeLists.txt")
echo "== package.sh (version $version)"
# The build trees as the test command built them: the i686 suite runs in build/win32 meanwhile.
if ! sh "$src/scripts/package.sh" --prebuilt --out "$work/dist" --test-installer "$work/setup64-test.exe" \
     > "$work/package.log" 2>&1; then
  cat "$work/package.log"
  echo "FAIL: package.sh failed"
  exit 1
fi
setup="$work/dist/Zephlaunch-$version-setup.exe"
for file in "$setup" "$work/dist/Zephlaunch-$version-win64.zip" "$work/dist/Zephlaunch-$version-win32.zip"; do
  [ -s "$file" ] || fail "package.sh did not write $file"
done
[ $failed = 0 ] || exit 1
check_eq "installer architecture" "$(pe_info "$setup" | cut -d' ' -f1)" "machine=14c"

# wine32 can only be installed where 32-bit programs run (scripts/install-deps.sh).
if dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q "install ok installed"; then
  run32=1
  installer=$setup
else
  run32=0
  installer="$work/setup64-test.exe"
  echo "note: Wine cannot run 32-bit programs here: the 64-bit build of the installer script stands in for"
  echo "      setup.exe below, and the i686 choice (32-bit Windows) is not run"
fi

for arch in win64 win32; do
  name="Zephlaunch-$version-$arch"
  listing=$(unzip -Z1 "$work/dist/$name.zip" | sort | tr '\n' ' ')
  check_eq "$arch zip contents" "$listing" \
    "$name/ $name/LICENSE.txt $name/README.txt $name/Zephlaunch.exe $name/zephlaunch_service.ini $name/zephrun.exe "
  unzip -q "$work/dist/$name.zip" -d "$work/zip" || fail "$arch zip does not unpack"
  machine=8664; [ $arch = win32 ] && machine=14c
  for exe in Zephlaunch.exe zephrun.exe; do
    check_eq "$arch zip $exe" "$(pe_info "$work/zip/$name/$exe")" "machine=$machine symbols=0 debug=0"
  done
done
grep -q "Copyright © 2026 The Zephlaunch authors" "$work/zip/Zephlaunch-$version-win64/LICENSE.txt" \
  || fail "LICENSE.txt lacks the copyright line"

# ---- A throwaway 64-bit prefix ------------------------------------------------
export WINEPREFIX="$work/prefix"
wineboot --init >/dev/null 2>&1
timeout 120 wineserver -w
[ -f "$WINEPREFIX/system.reg" ] || { echo "FAIL: could not create $WINEPREFIX"; exit 1; }

winvar() { wine cmd.exe /c echo "%$1%" 2>/dev/null | tr -d '\r'; }
unixpath() { winepath -u "$1" 2>/dev/null; }
appdata_win=$(winvar APPDATA)
localappdata_win=$(winvar LOCALAPPDATA)
appdata=$(unixpath "$appdata_win")
instdir_win="$localappdata_win\\Programs\\Zephlaunch"
instdir=$(unixpath "$instdir_win")
link="$appdata/Microsoft/Windows/Start Menu/Programs/Zephlaunch.lnk"
link_win="$appdata_win\\Microsoft\\Windows\\Start Menu\\Programs\\Zephlaunch.lnk"
key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Zephlaunch'

# The user's settings and profiles exist before the installation and must survive it
# and the uninstallation.
mkdir -p "$appdata/Zephlaunch/profiles"
printf '[Configuration]\r\nfspath=<not set>\r\nlogging=1\r\npauseatend=0\r\ndefragmem=0\r\nprocidletasks=0\r\n' \
  > "$appdata/Zephlaunch/profiles/zephlaunch.ini"
printf '[Configuration]\r\ndescription=kept\r\n' > "$appdata/Zephlaunch/profiles/keep.ini"
printf '[ProgramOptions]\r\nShowToolTips=0\r\n' > "$appdata/Zephlaunch/zephlaunch_windowpos.ini"
user_data_sum() { (cd "$appdata/Zephlaunch" && find profiles -name '*.ini' -exec md5sum {} + | sort); }
profiles_before=$(user_data_sum)

echo "== setup.exe /S refuses a folder holding files of the user"
mkdir -p "$instdir" && printf 'mine\r\n' > "$instdir/README.txt"
wine "$installer" /S </dev/null >/dev/null 2>&1
timeout 120 wineserver -w
check_eq "folder holding the user's README.txt" "$(ls "$instdir"; cat "$instdir/README.txt")" "$(printf 'README.txt\nmine\r')"
rm -r "$instdir"

echo "== setup.exe /S"
wine "$installer" /S </dev/null >/dev/null 2>&1
echo "exit code $?"
timeout 120 wineserver -w
installed=$(ls "$instdir" 2>/dev/null | sort | tr '\n' ' ')
check_eq "installed files" "$installed" \
  "LICENSE.txt README.txt Zephlaunch.exe uninstall.exe zephlaunch_service.ini zephrun.exe "
for exe in Zephlaunch.exe zephrun.exe; do
  cmp -s "$instdir/$exe" "$work/zip/Zephlaunch-$version-win64/$exe" || fail "installed $exe is not the stripped x86_64 build"
done
cmp -s "$instdir/zephlaunch_service.ini" "$src/gui/res/zephlaunch_service.ini" || fail "installed service-help file differs"

echo "== uninstall entry"
wine reg query "$key" </dev/null 2>/dev/null | tr -d '\r' > "$work/uninstall-entry.txt"
cat "$work/uninstall-entry.txt"
reg_value() { sed -n "s/^    $1    REG_[A-Z]*    //p" "$work/uninstall-entry.txt"; }
check_eq DisplayName "$(reg_value DisplayName)" "Zephlaunch"
check_eq DisplayVersion "$(reg_value DisplayVersion)" "$version"
check_eq Publisher "$(reg_value Publisher)" "The Zephlaunch authors"
check_eq DisplayIcon "$(reg_value DisplayIcon)" "$instdir_win\\Zephlaunch.exe,0"
check_eq UninstallString "$(reg_value UninstallString)" "\"$instdir_win\\uninstall.exe\""
check_eq QuietUninstallString "$(reg_value QuietUninstallString)" "\"$instdir_win\\uninstall.exe\" /S"
size_kb=$(printf '%d' "$(reg_value EstimatedSize)" 2>/dev/null || echo 0)
du_kb=$(du -sk "$instdir" | cut -f1)
# EstimatedSize counts kilobytes of file contents; du counts blocks, a little more.
[ "$size_kb" -gt $((du_kb / 2)) ] && [ "$size_kb" -le "$du_kb" ] \
  || fail "EstimatedSize $size_kb KB does not match the installed $du_kb KB"

echo "== Start-menu link"
[ -f "$link" ] || fail "no Start-menu link at $link"
wine "$probe" link "$link_win" </dev/null 2>/dev/null | tr -d '\r' > "$work/link.txt"
cat "$work/link.txt"
check_eq "link target" "$(sed -n 's/^target=//p' "$work/link.txt")" "$instdir_win\\Zephlaunch.exe"
check_eq "link folder" "$(sed -n 's/^workdir=//p' "$work/link.txt")" "$instdir_win"
check_eq "link icon" "$(sed -n 's/^icon=//p' "$work/link.txt")" "$instdir_win\\Zephlaunch.exe,0"

log_finished() { tail -c 39 "$instdir/zephrun_log.txt" 2>/dev/null | grep -q 'Zephlaunch Control Program finished.'; }

echo "== the installed controller runs a profile"
(cd "$instdir" && wine "$instdir_win\\zephrun.exe" "$appdata_win\\Zephlaunch\\profiles\\zephlaunch.ini" </dev/null >/dev/null 2>&1)
log_finished || fail "the installed controller wrote no finished run to $instdir/zephrun_log.txt"
grep -q "zephlaunch.ini" "$instdir/zephrun_log.txt" 2>/dev/null || fail "the controller's log does not name the profile"
rm -f "$instdir/zephrun_log.txt"

echo "== the installed GUI, started through the link, starts the controller"
wine "$probe" start "$link_win" </dev/null 2>/dev/null | tr -d '\r' > "$work/start.txt"
cat "$work/start.txt"
check_eq "main window" "$(sed -n 's/^window=//p' "$work/start.txt")" "Zephlaunch - zephlaunch"
check_eq "question" "$(sed -n 's/^question=//p' "$work/start.txt")" "Do you wish to close the Zephlaunch GUI before launching?"
check_eq "GUI exit code" "$(sed -n 's/^gui-exit=//p' "$work/start.txt")" "0"
i=0
while ! log_finished && [ $i -lt 600 ]; do sleep 0.1; i=$((i + 1)); done
log_finished || fail "Start did not run the installed controller in the program folder (no finished log in $instdir)"
timeout 120 wineserver -w

echo "== uninstall.exe /S while a run goes on removes nothing"
printf '[Configuration]\r\nfspath=C:\\windows\\system32\\ping.exe\r\nfscmdline=-n 600 127.0.0.1\r\nautostartdelay=0\r\nlogging=1\r\n' \
  > "$appdata/hold.ini"
(cd "$instdir" && wine "$instdir_win\\zephrun.exe" "$appdata_win\\hold.ini" </dev/null >/dev/null 2>&1 &)
i=0; hold=$instdir/zephrun_log.txt
while ! grep -q "Waiting for Main Application to finish" "$hold" 2>/dev/null && [ $i -lt 600 ]; do sleep 0.1; i=$((i + 1)); done
# In place (_?=), so that the exit code is the uninstaller's own: 2, stopped by the script.
wine "$instdir_win\\uninstall.exe" /S "_?=$instdir_win" </dev/null >/dev/null 2>&1
check_eq "uninstaller exit code while zephrun.exe runs" "$?" "2"
[ -f "$instdir/zephrun.exe" ] && [ -e "$link" ] || fail "the running zephrun.exe or the Start-menu link was removed"
[ -f "$instdir/Zephlaunch.exe" ] || fail "Zephlaunch.exe was removed while zephrun.exe runs"
wine reg query "$key" </dev/null >/dev/null 2>&1 || fail "the uninstall entry went while zephrun.exe remained"
timeout 120 wineserver -k >/dev/null 2>&1

echo "== uninstall.exe /S"
wine "$instdir_win\\uninstall.exe" /S </dev/null >/dev/null 2>&1
# The uninstaller runs on from a copy in the temporary folder; wait for it.
timeout 120 wineserver -w
[ -e "$instdir" ] && fail "the program folder is still there: $(ls -A "$instdir" | tr '\n' ' ')"
[ -e "$link" ] && fail "the Start-menu link is still there"
wine reg query "$key" </dev/null >/dev/null 2>&1 && fail "the uninstall entry is still there"
check_eq "user's profiles after uninstall" "$(user_data_sum)" "$profiles_before"
[ -f "$appdata/Zephlaunch/zephlaunch_windowpos.ini" ] || fail "the uninstaller removed the user's settings file"
timeout 120 wineserver -k >/dev/null 2>&1

# ---- The i686 build on 32-bit Windows ---------------------------------------
if [ $run32 = 1 ]; then
  echo "== setup.exe /S on 32-bit Windows"
  export WINEPREFIX="$work/prefix32"
  WINEARCH=win32 wineboot --init >/dev/null 2>&1
  timeout 120 wineserver -w
  local32=$(unixpath "$(winvar LOCALAPPDATA)\\Programs\\Zephlaunch")
  wine "$setup" /S </dev/null >/dev/null 2>&1
  timeout 120 wineserver -w
  for exe in Zephlaunch.exe zephrun.exe; do
    cmp -s "$local32/$exe" "$work/zip/Zephlaunch-$version-win32/$exe" || fail "32-bit Windows: $exe is not the i686 build"
  done
  timeout 120 wineserver -k >/dev/null 2>&1
fi

if [ $failed = 0 ]; then
  echo "installer test passed"
fi
exit $failed
