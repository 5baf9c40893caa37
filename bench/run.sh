#!/usr/bin/env bash
# Builds the sync benchmark in the normal (RelWithDebInfo) build and runs it; extra
# arguments go to the benchmark (--captures N --size BYTES --records M).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$root/build" -j "$(nproc)" --target sync_bench connections_bench
"$root/build/bench/sync_bench" "$@"
