#!/bin/sh
# Lists the tracked C and C++ sources that the house style applies to, one per line.
# Resource scripts and the resource-id headers (kept in the column layout resource editors
# write) are not formatted.
set -eu
cd "$(dirname "$0")/.."
git ls-files -- '*.c' '*.cpp' '*.h' | grep -v -e '^gui/res/resource\.h$' -e '^gui/res/art_ids\.h$' || true
