#!/bin/sh
# Sets everything up and runs every test: the pure logic natively with AddressSanitizer
# and UBSan, then the Windows x86_64 build under Wine (end-to-end controller tests with
# fixture programs and services, GUI tests on a private Xvfb display), and checks that
# the i686 build still compiles.
set -eu
cd "$(dirname "$0")/.."
sh scripts/install-deps.sh
jobs=$(nproc)

echo "== native unit tests (ASan + UBSan) =="
sh scripts/build.sh native
ctest --preset native -j "$jobs"

echo "== i686 build =="
sh scripts/build.sh win32

echo "== Windows x86_64 under Wine =="
sh scripts/build.sh win64
ctest --preset win64 -j 2
