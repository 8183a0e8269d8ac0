# SPDX-License-Identifier: MIT
# shellcheck shell=bash
# Sourced by the scripts that check the Windows window under Wine on a private X server.
source "$(dirname "${BASH_SOURCE[0]}")/packages.sh"

# windows_gui_setup [PACKAGE...]: what comes before their build. The Qt for MinGW of
# scripts/build-qt-windows.sh must be there (else the script ends, saying how to build it);
# installs what building the window and running it under Wine on Xvfb takes, and the PACKAGEs
# the script needs besides. Sets started, the script's start time.
windows_gui_setup() {
  started=$(date +%s)
  local qt
  if ! qt=$(bash scripts/build-qt-windows.sh --where); then
    echo "$(basename "$0" .sh): no Qt for MinGW in $qt; build it with: bash scripts/build-qt-windows.sh" >&2
    exit 1
  fi
  need_packages cmake ninja-build g++-mingw-w64-x86-64-posix wine64 xvfb xauth xdotool "$@"
}

# again_on_xvfb [NAME=VALUE...]: runs this script again under xvfb-run with TRELVIK_ON_XVFB=1
# and the variables given, then ends with its exit status after printing the seconds since
# $started.
again_on_xvfb() {
  local status=0
  env TRELVIK_ON_XVFB=1 "$@" xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" || status=$?
  echo "== $(($(date +%s) - started)) s"
  exit $status
}
