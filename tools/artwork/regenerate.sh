#!/bin/sh
# Rebuilds the artwork generator and redraws every skin picture into skin/art
# (pictures, art.qrc, catalog.inc, cursors.inc). Running it twice gives
# byte-identical files.
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${QUILLORY_ART_BUILD:-$root/build-art/artwork-standalone}
cmake -S "$root/tools/artwork" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target quillory-artwork
rm -rf "$root/skin/art/png" "$root/skin/art/bmp" "$root/skin/art/cur" "$root/skin/art/ico"
"$build/quillory-artwork" "$root/skin/art"
