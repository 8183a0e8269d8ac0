#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Runs a test that needs an X11 display: on the one there is, or else on a private Xvfb.
# Xvfb picks a free display number itself (-displayfd): xvfb-run -a guesses one, and tests
# or tools started at the same moment elsewhere on the machine can take the same guess.
set -euo pipefail
if [ -n "${DISPLAY:-}" ]; then
  exec "$@"
fi
folder=$(mktemp -d)
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$folder/display" 2>"$folder/xvfb.log" &
server=$!
trap 'kill $server 2>/dev/null; wait $server 2>/dev/null; rm -rf "$folder"' EXIT
for _ in $(seq 200); do
  [ -s "$folder/display" ] && break
  kill -0 $server 2>/dev/null || { cat "$folder/xvfb.log" >&2; exit 1; }
  sleep 0.05
done
[ -s "$folder/display" ] || { echo "with-display: Xvfb did not start" >&2; exit 1; }
DISPLAY=":$(head -n1 "$folder/display")" "$@"
