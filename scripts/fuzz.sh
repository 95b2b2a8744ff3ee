#!/usr/bin/env bash
# Builds the readers with clang's sanitizers and libFuzzer (build-fuzz/), replays
# every input that once crashed or hung (fuzz/regressions/<target>/), then fuzzes
# each target for a fixed time from its seeds (fuzz/corpus/<target>/ and the
# tests' data).
#
#   scripts/fuzz.sh [SECONDS]     seconds per target, 20 if not given
#
# fuzz/<target>.dict, where there is one, gives the mutations the words the
# reader looks for. Inputs in fuzz/known/<target>/ are faults reported and being
# mended elsewhere: they are replayed and reported, but do not fail the run; once
# one passes, move it into fuzz/regressions/. Without clang++ the run is skipped
# (exit 0). New inputs and crash artefacts go to a scratch folder, never into
# the seeds.
set -uo pipefail

seconds=${1:-20}
top=$(cd "$(dirname "$0")/.." && pwd)
build=${FUMI_FUZZ_BUILD_DIR:-$top/build-fuzz}
targets=(html docx rtf plaintext snapshot userxml userdataini picture)
# Larger inputs only slow the search down; the seeds stay below this.
declare -A max_len=([html]=16384 [docx]=16384 [rtf]=16384 [plaintext]=8192 [snapshot]=16384 [userxml]=8192 [userdataini]=1024 [picture]=16384)
# The tests' own files seed the targets too, besides fuzz/corpus/<target>/.
declare -A test_data=([html]="formats/tests/data formats/html/tests/data html/tests/data" [snapshot]="engine/tests/data" [rtf]="formats/rtf/tests/data")
options=(-timeout=10 -rss_limit_mb=2048)

if ! command -v clang++ >/dev/null; then
  echo "fuzz: clang++ not found, fuzz targets skipped"
  exit 0
fi

if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
    -DFUMI_FUZZ=ON -DFUMI_BUILD_TESTS=OFF -DFUMI_BUILD_BENCH=OFF >/dev/null || exit 1
fi
cmake --build "$build" --parallel "$(nproc)" >"$build/fuzz-build.log" 2>&1 || {
  tail -n 40 "$build/fuzz-build.log"
  echo "fuzz: build failed"
  exit 1
}

# In memory where there is /dev/shm: the settings targets save a file per input.
[ -w /dev/shm ] && export TMPDIR=/dev/shm
scratch=$(mktemp -d "${TMPDIR:-/tmp}/fumi-fuzz-run-XXXXXX")
# The targets' own temporary folders go in there too, also after a crash.
export TMPDIR=$scratch QT_QPA_PLATFORM=offscreen UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$top/fuzz/lsan.supp:print_suppressions=0}
failed=0

# replay <target> <folder> <label>: runs each input of <folder> once and names
# the ones that fail, with the sanitizer's or libFuzzer's one-line reason.
replay() {
  local binary=$build/fuzz/fuzz_$1 input log status=0
  for input in "$2"/*; do
    [ -f "$input" ] || continue
    log=$scratch/$1-$(basename "$input").log
    if ! "$binary" "${options[@]}" -artifact_prefix="$scratch/" "$input" >"$log" 2>&1; then
      echo "fuzz_$1: $3 ${input#"$top"/}: $(grep -m 1 -E '^(SUMMARY|==[0-9]+== ?ERROR)' "$log")"
      status=1
    fi
  done
  return $status
}

for target in "${targets[@]}"; do
  replay "$target" "$top/fuzz/regressions/$target" "FAILS AGAIN on" || failed=1
  replay "$target" "$top/fuzz/known/$target" "known fault, being mended:"

  mkdir -p "$scratch/$target"
  log=$scratch/$target.log
  dict=()
  [ -f "$top/fuzz/$target.dict" ] && dict=(-dict="$top/fuzz/$target.dict")
  seeds=("$top/fuzz/corpus/$target")
  for folder in ${test_data[$target]:-}; do seeds+=("$top/$folder"); done
  if "$build/fuzz/fuzz_$target" "${options[@]}" "${dict[@]}" -max_len="${max_len[$target]}" -max_total_time="$seconds" \
      -print_final_stats=1 -artifact_prefix="$scratch/$target-" \
      "$scratch/$target" "${seeds[@]}" >"$log" 2>&1; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    echo "fuzz_$target: ${runs:-?} runs in ${seconds} s, no fault"
  else
    tail -n 60 "$log"
    echo "fuzz_$target: FAULT; input saved as $(ls "$scratch/$target"-* 2>/dev/null | head -n 1)"
    failed=1
  fi
done

if [ $failed -eq 0 ]; then rm -rf "$scratch"; else echo "fuzz: logs and inputs kept in $scratch"; fi
exit $failed
