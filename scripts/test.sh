#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds everything and runs every test: the full suite, the core and CLI suites again
# under AddressSanitizer and UBSan, a short run of each fuzzer (built in the same sanitizer
# tree), and the Debian package checked as installed files.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
jobs=$(nproc)

echo "== format (clang-format; scripts/check-format.sh --fix mends it)"
bash scripts/check-format.sh

echo "== build and test (dev)"
cmake --preset dev >/dev/null
cmake --build --preset dev -j "$jobs"
ctest --preset dev -j "$jobs"

echo "== core tests under ASan and UBSan (clang; the fuzzers build in the same tree)"
cmake --preset asan >/dev/null
cmake --build --preset asan -j "$jobs"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --preset asan -L core -j "$jobs"

# Each fuzzer is one process on one core for its seconds: they run side by side, one a core.
export TRELVIK_FUZZ_SECONDS=${TRELVIK_FUZZ_SECONDS:-20}
echo "== fuzzers, $TRELVIK_FUZZ_SECONDS s each, $jobs at a time"
fuzz_one() {
  local name corpus
  name=$(basename "$1")
  corpus=build/asan/corpus/$name
  mkdir -p "$corpus"
  if "$1" -max_total_time="$TRELVIK_FUZZ_SECONDS" -max_len=4096 -print_final_stats=0 "$corpus" \
    2>"build/asan/$name.log"; then
    echo "$name: no fault"
  else
    tail -40 "build/asan/$name.log"
    echo "$name: FAULT (build/asan/$name.log)"
    return 1
  fi
}
export -f fuzz_one
ls build/asan/fuzz/fuzz_* >/dev/null # no fuzzer built must not pass as no fault found
printf '%s\n' build/asan/fuzz/fuzz_* | xargs -P "$jobs" -I{} bash -c 'fuzz_one "$1"' _ {}

echo "== Debian package (scripts/check-package.sh)"
bash scripts/check-package.sh

echo "== all tests passed"
