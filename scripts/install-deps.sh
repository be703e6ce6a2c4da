#!/bin/sh
# Installs what building and testing need on a Debian machine (as root), skipping
# what is already there.
set -eu
need=""
have() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }
for pkg in cmake ninja-build g++ g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix mingw-w64-tools \
           binutils-mingw-w64-x86-64 wine wine64 xvfb x11-utils imagemagick googletest python3 nsis zip unzip; do
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
