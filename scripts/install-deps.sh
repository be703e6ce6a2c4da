#!/bin/sh
# Installs what building and testing need on a Debian machine (as root), skipping
# what is already there.
set -eu
need=""
have() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }
# The programs link with the win32-thread-model runtime, the tests with the posix one.
# clang and its runtime (libFuzzer, the sanitizers) build the fuzz target.
for pkg in cmake ninja-build g++ binutils g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix \
           g++-mingw-w64-x86-64-win32 g++-mingw-w64-i686-win32 mingw-w64-tools \
           binutils-mingw-w64-x86-64 binutils-mingw-w64-i686 wine wine64 xvfb x11-utils imagemagick \
           googletest python3 nsis zip unzip ccache clang-format clang libclang-rt-dev; do
  have "$pkg" || need="$need $pkg"
done
if [ -n "$need" ]; then
  echo "Installing:$need"
  if [ "$(id -u)" -ne 0 ]; then
    echo "install-deps: run as root (or install these packages):$need" >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  # Recommended packages too: Wine's X11 driver renders text and windows with them.
  apt-get install -y -q $need
fi

# 32-bit Wine for the i686 suite, only where the kernel runs 32-bit programs (see
# scripts/i386-probe): elsewhere it cannot start, and the `wine` command would pick its
# loader for every program.
if ! have wine32:i386; then
  if sh "$(dirname "$0")/i386-probe"; then
    if [ "$(id -u)" -ne 0 ]; then
      echo "install-deps: run as root to install wine32:i386 for the i686 suite" >&2
      exit 1
    fi
    export DEBIAN_FRONTEND=noninteractive
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
      dpkg --add-architecture i386
    fi
    apt-get update -q
    apt-get install -y -q wine32:i386
  else
    # Here the 32-bit Wine loader runs under user-mode emulation instead (slower, but the
    # whole i686 build is exercised). A failure is reported, and the test command then
    # leaves the i686 suite out and says so.
    echo "install-deps: this kernel does not run 32-bit programs; the i686 suite runs under" \
         "emulated 32-bit Wine (scripts/wine32-emulated)"
    sh "$(dirname "$0")/wine32-emulated" ||
      echo "install-deps: no emulated 32-bit Wine (see above); the i686 suite will not run" >&2
  fi
fi
