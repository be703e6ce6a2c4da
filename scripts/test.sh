#!/bin/sh
# Sets everything up and runs every test: the pure logic natively with AddressSanitizer
# and UBSan, the import check of the four program executables, then the Windows suite
# for x86_64 under Wine (end-to-end controller tests with fixture programs and services,
# GUI tests on a private Xvfb display) and the same suite for i686 under 32-bit Wine
# (emulated where the kernel runs no 32-bit programs).
set -eu
cd "$(dirname "$0")/.."
sh scripts/install-deps.sh
jobs=$(nproc)
started=$(date +%s)

echo "== format (clang-format, scripts/check-format) =="
sh scripts/check-format

echo "== native unit tests (ASan + UBSan) =="
sh scripts/build.sh native
ctest --preset native -j "$jobs"

echo "== Windows builds (x86_64, i686) =="
sh scripts/build.sh win64 win32

echo "== imports of the program executables =="
# A failure here fails the run, after the suites below have run too.
imports=0
python3 scripts/check-imports build/win64 build/win32 || imports=1

echo "== Windows x86_64 under Wine =="
ctest --preset win64 -j 2

echo "== Windows i686 under 32-bit Wine =="
# Where the kernel runs no 32-bit programs, 32-bit Wine runs under user-mode emulation
# (scripts/wine32-emulated, set up by install-deps.sh); the i686 tree picks it up itself.
if sh scripts/i386-probe && [ -x /usr/lib/wine/wine ]; then
  ctest --preset win32 -j 2
elif emulated=$(sh scripts/wine32-emulated --path); then
  echo "(32-bit Wine under emulation: $emulated)"
  ctest --preset win32 -j 2
elif sh scripts/i386-probe; then
  echo "i686 suite NOT RUN: 32-bit Wine (wine32:i386) is not installed (see scripts/install-deps.sh)."
else
  echo "i686 suite NOT RUN: this machine's kernel does not run 32-bit programs, and the emulated"
  echo "32-bit Wine could not be set up (scripts/wine32-emulated; its message is above). The i686"
  echo "build and its tests were compiled, and its imports checked."
fi

echo "test.sh: all done in $(( $(date +%s) - started )) s"
if [ "$imports" -ne 0 ]; then
  echo "test.sh: FAILED: a program imports a function that its oldest Windows lacks (see above)" >&2
  exit 1
fi
