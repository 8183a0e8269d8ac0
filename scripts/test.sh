#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds everything and runs every test: the full suite, the core and CLI suites again
# under AddressSanitizer and UBSan, a short run of each fuzzer (when clang is present), and
# the Debian package checked as installed files.
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

echo "== core tests under ASan and UBSan"
cmake --preset asan >/dev/null
cmake --build --preset asan -j "$jobs"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --preset asan -L core -j "$jobs"

if command -v clang++ >/dev/null; then
  echo "== fuzzers, ${TRELVIK_FUZZ_SECONDS:-20} s each"
  cmake --preset fuzz >/dev/null
  cmake --build --preset fuzz -j "$jobs"
  for fuzzer in build/fuzz/fuzz/fuzz_*; do
    [ -x "$fuzzer" ] || continue
    corpus="build/fuzz/corpus/$(basename "$fuzzer")"
    mkdir -p "$corpus"
    "$fuzzer" -max_total_time="${TRELVIK_FUZZ_SECONDS:-20}" -max_len=4096 -print_final_stats=0 "$corpus" \
      2>"build/fuzz/$(basename "$fuzzer").log" || { tail -40 "build/fuzz/$(basename "$fuzzer").log"; exit 1; }
    echo "$(basename "$fuzzer"): no fault"
  done
fi
echo "== Debian package (scripts/check-package.sh)"
bash scripts/check-package.sh

echo "== all tests passed"
