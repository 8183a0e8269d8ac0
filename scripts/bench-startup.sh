#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Measures the time from process start to the main window's first paint, for the full tool
# and the settings tool on the simulated camera, against an empty QMainWindow.
#   scripts/bench-startup.sh [PRESET] [--runs N]     PRESET: dev (default) or release
# Paints off screen unless QT_QPA_PLATFORM says otherwise (e.g. xcb under xvfb-run).
set -euo pipefail
cd "$(dirname "$0")/.."
preset=dev
if [ $# -gt 0 ] && [ "${1#--}" = "$1" ]; then preset=$1; shift; fi
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" --target bench_startup_paint
exec "build/$preset/bench/bench_startup_paint" "$@"
