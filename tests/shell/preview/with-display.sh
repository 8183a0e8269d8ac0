#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Runs a test that needs an X11 display: on the one there is, or else on a private Xvfb.
set -euo pipefail
if [ -n "${DISPLAY:-}" ]; then
  exec "$@"
fi
exec xvfb-run -a -s "-screen 0 1024x768x24" "$@"
