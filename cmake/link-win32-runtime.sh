#!/bin/sh
# Linker launcher of the two program executables: runs the link command it is given
# with the win32-thread-model compiler driver in place of the posix one, so that the
# programs carry the win32 runtime (no winpthreads). Fails when that driver is missing.
driver=$1
shift
case "$driver" in
  *-posix) win32="${driver%-posix}-win32" ;;
  *) win32="$driver" ;;
esac
if ! command -v "$win32" >/dev/null 2>&1; then
  echo "link-win32-runtime: $win32 not found (install g++-mingw-w64-*-win32)" >&2
  exit 1
fi
exec "$win32" "$@"
