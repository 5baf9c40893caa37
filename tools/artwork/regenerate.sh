#!/bin/sh
# Rebuilds the artwork generator and redraws every skin picture into skin/art.
# Running it twice gives byte-identical files.
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${QUILLORY_ART_BUILD:-$root/build-art}
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$build" -G Ninja
fi
cmake --build "$build" --target quillory-artwork
rm -rf "$root/skin/art/png" "$root/skin/art/bmp" "$root/skin/art/cur" "$root/skin/art/ico"
"$build/tools/artwork/quillory-artwork" "$root/skin/art"
