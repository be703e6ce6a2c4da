#!/bin/sh
# package.sh [--out DIR] [--test-installer FILE] [--prebuilt]: builds Zephlaunch.exe and zephrun.exe in the release
# configuration of both architectures (presets win64 and win32) and writes
#   DIR/Zephlaunch-<version>-setup.exe   per-user installer (NSIS's makensis)
#   DIR/Zephlaunch-<version>-win64.zip   portable x86_64 programs
#   DIR/Zephlaunch-<version>-win32.zip   portable i686 programs
# DIR defaults to dist/. The executables in the packages are stripped copies; the
# build trees keep theirs. Needs Debian's nsis and zip packages (scripts/install-deps.sh).
# --test-installer also writes FILE: the same installer script built as a 64-bit
# program, for testing it under Wine where 32-bit programs cannot run (never shipped).
# --prebuilt packs the programs the two build trees already hold, without configuring or
# building them (the package test, which runs while the other suite uses those trees).
set -eu
cd "$(dirname "$0")/.."
ROOT=$(pwd)
OUT="$ROOT/dist"
TEST_INSTALLER=""
PREBUILT=0
while [ $# -gt 0 ]; do
  case "$1" in
    --out) OUT=$2; shift 2 ;;
    --test-installer) TEST_INSTALLER=$2; shift 2 ;;
    --prebuilt) PREBUILT=1; shift ;;
    *) echo "usage: package.sh [--out DIR] [--test-installer FILE] [--prebuilt]" >&2; exit 2 ;;
  esac
done
mkdir -p "$OUT"
OUT=$(cd "$OUT" && pwd)

for tool in makensis zip x86_64-w64-mingw32-strip i686-w64-mingw32-strip; do
  command -v "$tool" >/dev/null 2>&1 || { echo "package.sh: $tool not found (run scripts/install-deps.sh as root)" >&2; exit 1; }
done

VERSION=$(sed -n 's/^project(Zephlaunch VERSION \([0-9][0-9.]*\).*/\1/p' CMakeLists.txt)
[ -n "$VERSION" ] || { echo "package.sh: no project version in CMakeLists.txt" >&2; exit 1; }
SERVICE_HELP="$ROOT/gui/res/zephlaunch_service.ini"
[ -f "$SERVICE_HELP" ] || { echo "package.sh: $SERVICE_HELP is missing" >&2; exit 1; }

for preset in win64 win32; do
  if [ $PREBUILT = 1 ]; then
    for exe in Zephlaunch.exe zephrun.exe; do
      [ -f "$ROOT/build/$preset/bin/$exe" ] ||
        { echo "package.sh: build/$preset/bin/$exe is missing (build it first: scripts/build.sh $preset)" >&2; exit 1; }
    done
  else
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" --target Zephlaunch zephrun
  fi
done

STAGE="$ROOT/build/package"
rm -rf "$STAGE"
mkdir -p "$STAGE/win64" "$STAGE/win32" "$STAGE/doc"

for exe in Zephlaunch.exe zephrun.exe; do
  x86_64-w64-mingw32-strip -o "$STAGE/win64/$exe" "$ROOT/build/win64/bin/$exe"
  i686-w64-mingw32-strip -o "$STAGE/win32/$exe" "$ROOT/build/win32/bin/$exe"
done

# Texts for Windows: CRLF line ends, and a byte-order mark so that Notepad reads the
# UTF-8 of the copyright sign right.
windows_text() {
  printf '\357\273\277' > "$2"
  sed 's/\r$//; s/$/\r/' "$1" >> "$2"
}
windows_text "$ROOT/README.md" "$STAGE/doc/README.txt"
windows_text "$ROOT/LICENSE" "$STAGE/doc/LICENSE.txt"
cp "$SERVICE_HELP" "$STAGE/doc/zephlaunch_service.ini"

# Portable zips: one folder with the programs, the service-help file, README and LICENSE.
for arch in win64 win32; do
  name="Zephlaunch-$VERSION-$arch"
  dir="$STAGE/zip/$name"
  mkdir -p "$dir"
  cp "$STAGE/$arch/Zephlaunch.exe" "$STAGE/$arch/zephrun.exe" "$STAGE/doc/zephlaunch_service.ini" \
     "$STAGE/doc/README.txt" "$STAGE/doc/LICENSE.txt" "$dir/"
  rm -f "$OUT/$name.zip"
  (cd "$STAGE/zip" && zip -q -X -r "$OUT/$name.zip" "$name")
  echo "wrote $OUT/$name.zip"
done

nsis() {
  makensis -V2 -NOCD \
    "-DVERSION=$VERSION" \
    "-DWIN64_DIR=$STAGE/win64" \
    "-DWIN32_DIR=$STAGE/win32" \
    "-DDOC_DIR=$STAGE/doc" \
    "-DICON=$ROOT/gui/res/icons/zephlaunch.ico" \
    "$@" \
    "$ROOT/packaging/zephlaunch.nsi"
}
nsis "-DOUTFILE=$OUT/Zephlaunch-$VERSION-setup.exe"
echo "wrote $OUT/Zephlaunch-$VERSION-setup.exe"
if [ -n "$TEST_INSTALLER" ]; then
  nsis "-DOUTFILE=$TEST_INSTALLER" -DTEST_AMD64
  echo "wrote $TEST_INSTALLER (64-bit build of the installer, for tests only)"
fi
