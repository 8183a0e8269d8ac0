#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Many cameras at once: trelvik-cli apply --all over folders of 1, 16 and 64 simulated cameras,
# each answering after 0 or 1 ms, side by side (the default) and one at a time (--jobs 1), and
# the start of a one-register read against /bin/true. Prints the median wall time of --runs runs
# (3 by default) and the time per camera.
#   scripts/bench-cameras.sh [PRESET] [--runs N]     PRESET: release (default) or dev
set -euo pipefail
cd "$(dirname "$0")/.."
preset=release
if [ $# -gt 0 ] && [ "${1#--}" = "$1" ]; then preset=$1; shift; fi
runs=3
if [ "${1:-}" = "--runs" ]; then runs=$2; fi
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" --target trelvik-cli >/dev/null
cli="$PWD/build/$preset/bin/trelvik-cli"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Median of `runs` timings of a command, in microseconds.
median_us() {
  local times=()
  for _ in $(seq "$runs"); do
    local start end
    start=$(date +%s%N)
    "$@" >/dev/null 2>&1 || true
    end=$(date +%s%N)
    times+=($(((end - start) / 1000)))
  done
  printf '%s\n' "${times[@]}" | sort -n | sed -n "$(((runs + 1) / 2))p"
}

"$cli" --simulate="$work/reference.json" dump --output "$work/profile.ini" >/dev/null 2>&1
printf '%-8s %-8s %-12s %10s %14s\n' cameras latency jobs "wall (ms)" "per camera (ms)"
for latency in 0 1; do
  for count in 1 16 64; do
    folder="$work/fleet-$latency-$count"
    mkdir -p "$folder"
    for i in $(seq -w 1 "$count"); do
      printf '{"faults": {"latency_ms": %d}}\n' "$latency" >"$folder/cam$i.json"
    done
    for jobs in all 1; do
      [ "$jobs" = 1 ] && [ "$count" = 1 ] && continue
      args=(--simulate="$folder/" apply "$work/profile.ini" --all)
      [ "$jobs" = 1 ] && args+=(--jobs 1)
      us=$(median_us "$cli" "${args[@]}")
      printf '%-8s %-8s %-12s %10s %14s\n' "$count" "$latency ms" "$jobs" "$((us / 1000))" "$((us / count / 1000))"
    done
  done
done

echo
runs=$((runs * 10))
printf '%-40s %s\n' "one command" "wall (us, median of $runs)"
printf '%-40s %s\n' "/bin/true" "$(median_us /bin/true)"
printf '%-40s %s\n' "trelvik-cli --version" "$(median_us "$cli" --version)"
printf '%-40s %s\n' "trelvik-cli read 0x41 --simulate=FILE" "$(median_us "$cli" --simulate="$work/reference.json" read 0x41)"
