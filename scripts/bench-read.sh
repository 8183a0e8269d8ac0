#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# trelvik-cli read 0x41 of the release build on the real Linux path under umockdev's mock
# kernel, against sg_raw sending the same CDB to the same sg node and against /bin/true,
# interleaved. sg_raw comes from sg3-utils, installed here for the comparison only.
#   scripts/bench-read.sh [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib/packages.sh
need_packages sg3-utils
cmake --preset release >/dev/null
cmake --build --preset release --target trelvik-cli bench_read_mock >/dev/null
exec umockdev-wrapper build/release/bench/bench_read_mock "$PWD/build/release/bin/trelvik-cli" "${1:-50}"
