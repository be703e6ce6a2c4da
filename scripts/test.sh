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

echo "== fuzzing: journal reader, profile sections, command lines (libFuzzer, 20 s) =="
sh scripts/build.sh fuzz
ctest --preset fuzz

echo "== Windows builds (x86_64, i686) =="
sh scripts/build.sh win64 win32

echo "== imports of the program executables =="
# A failure here fails the run, after the suites below have run too.
imports=0
python3 scripts/check-imports build/win64 build/win32 || imports=1

# The two Windows suites run side by side: they have their own build trees, Wine prefixes
# and displays, and the x86_64 GUI tests, which run one at a time, leave a core mostly idle.
# The i686 suite's output is kept in a file and shown after the x86_64 suite's.
# Where the kernel runs no 32-bit programs, 32-bit Wine runs under user-mode emulation
# (scripts/wine32-emulated, set up by install-deps.sh); the i686 tree picks it up itself.
i686_log=build/win32/i686-suite.log
i686_pid=""
i686_note=""
if sh scripts/i386-probe && [ -x /usr/lib/wine/wine ]; then
  i686_note="(native 32-bit Wine)"
elif emulated=$(sh scripts/wine32-emulated --path); then
  i686_note="(32-bit Wine under emulation: $emulated)"
elif sh scripts/i386-probe; then
  i686_note="i686 suite NOT RUN: 32-bit Wine (wine32:i386) is not installed (see scripts/install-deps.sh)."
else
  i686_note="i686 suite NOT RUN: this machine's kernel does not run 32-bit programs, and the emulated
32-bit Wine could not be set up (scripts/wine32-emulated; its message is above). The i686
build and its tests were compiled, and its imports checked."
fi
case "$i686_note" in
  "("*)
    ctest --preset win32 -j 1 > "$i686_log" 2>&1 &
    i686_pid=$!
    ;;
esac

echo "== Windows x86_64 under Wine =="
x86_64=0
ctest --preset win64 -j 2 || x86_64=1

echo "== Windows i686 under 32-bit Wine =="
echo "$i686_note"
i686=0
if [ -n "$i686_pid" ]; then
  wait "$i686_pid" || i686=1
  cat "$i686_log"
fi

echo "test.sh: all done in $(( $(date +%s) - started )) s"
failed=0
if [ "$x86_64" -ne 0 ]; then
  echo "test.sh: FAILED: the x86_64 suite (see above)" >&2
  failed=1
fi
if [ "$i686" -ne 0 ]; then
  echo "test.sh: FAILED: the i686 suite (see above)" >&2
  failed=1
fi
if [ "$imports" -ne 0 ]; then
  echo "test.sh: FAILED: a program imports a function that its oldest Windows lacks (see above)" >&2
  failed=1
fi
exit "$failed"
