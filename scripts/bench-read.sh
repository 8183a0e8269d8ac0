#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# trelvik-cli read 0x41 of the release build on the real Linux path under umockdev's mock
# kernel, against sg_raw sending the same CDB to the same sg node and against /bin/true,
# interleaved. sg_raw comes from sg3-utils, installed here for the comparison only.
#   scripts/bench-read.sh [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
if ! command -v sg_raw >/dev/null; then
  sudo=""
  if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
  $sudo apt-get install -y -qq sg3-utils >/dev/null
fi
cmake --preset release >/dev/null
cmake --build --preset release --target trelvik-cli >/dev/null
# The mock kernel's support is built with the tests.
cmake --preset dev >/dev/null
cmake --build --preset dev --target bench_read_mock >/dev/null
exec umockdev-wrapper build/dev/bench/bench_read_mock "$PWD/build/release/bin/trelvik-cli" "${1:-50}"
