#!/usr/bin/env bash
# build.sh BUILD_DIR [cmake options...]: installs what is missing, configures and builds.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=${1:-build}; shift || true
bash "$root/scripts/install-packages.sh"
cmake -S "$root" -B "$root/$dir" -G Ninja "$@" >/dev/null
cmake --build "$root/$dir" -j "$(nproc)"
