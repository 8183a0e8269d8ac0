#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Measures the time from process start to the main window's first paint, for the full tool
# and the settings tool on the simulated camera, against an empty QMainWindow.
#   scripts/bench-startup.sh [PRESET] [--runs N]     PRESET: release (default) or dev
# Paints off screen unless QT_QPA_PLATFORM says otherwise (e.g. xcb under xvfb-run). The dev
# preset leaves the benchmarks out; asked for here, its tree gets them.
set -euo pipefail
cd "$(dirname "$0")/.."
preset=release
if [ $# -gt 0 ] && [ "${1#--}" = "$1" ]; then preset=$1; shift; fi
cmake --preset "$preset" -DTRELVIK_BENCH=ON >/dev/null
cmake --build --preset "$preset" --target bench_startup_paint
exec "build/$preset/bench/bench_startup_paint" "$@"
