#!/usr/bin/env bash
# Builds the document libraries (text, settings, engine, readers and writers,
# pictures) and their tests a second time with AddressSanitizer and
# UndefinedBehaviorSanitizer (build-asan/), and runs those tests there. A memory
# fault, a leak or undefined behaviour fails the test that met it.
#
#   scripts/sanitize.sh
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
build=${FUMI_SANITIZE_BUILD_DIR:-$top/build-asan}

if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DFUMI_SANITIZE=ON -DFUMI_BUILD_BENCH=OFF >/dev/null
fi
cmake --build "$build" --parallel "$(nproc)" >"$build/sanitize-build.log" 2>&1 || {
  tail -n 40 "$build/sanitize-build.log"
  echo "sanitize: build failed"
  exit 1
}

export ASAN_OPTIONS=${ASAN_OPTIONS:-halt_on_error=1:detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}
cd "$build"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel "$(nproc)" --timeout 600
