#!/usr/bin/env bash
# Sets everything up and runs the whole test suite:
#  1. every test under AddressSanitizer and UndefinedBehaviorSanitizer,
#  2. the threaded tests under ThreadSanitizer,
#  3. each libFuzzer target for a short while.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export LSAN_OPTIONS="suppressions=$root/scripts/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1"
fuzz_seconds=${QUILLORY_FUZZ_SECONDS:-20}

echo "== address and undefined-behaviour sanitizers: all tests"
bash scripts/build.sh build-asan -DQUILLORY_SANITIZE=address,undefined
ctest --test-dir build-asan --output-on-failure -j "$(nproc)"

echo "== thread sanitizer: threaded tests"
bash scripts/build.sh build-tsan -DQUILLORY_SANITIZE=thread -DQUILLORY_BUILD_GUI=OFF
if ctest --test-dir build-tsan -N -L tsan | grep -q "Total Tests: [1-9]"; then
  ctest --test-dir build-tsan --output-on-failure -L tsan
fi

echo "== fuzzers, ${fuzz_seconds}s each"
bash scripts/build.sh build-fuzz -DQUILLORY_FUZZ=ON -DQUILLORY_BUILD_GUI=OFF \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
for fuzzer in build-fuzz/fuzz/fuzz_*; do
  [[ -x "$fuzzer" ]] || continue
  echo "-- $(basename "$fuzzer")"
  corpus="build-fuzz/corpus/$(basename "$fuzzer")"
  mkdir -p "$corpus"
  "$fuzzer" -max_total_time="$fuzz_seconds" -print_final_stats=0 "$corpus" 2>&1 | tail -n 2
done
echo "all test stages passed"
