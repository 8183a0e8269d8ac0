# SPDX-License-Identifier: MIT
# shellcheck shell=bash
# Sourced by the scripts that need Debian packages: one way to install what is missing.

# need_packages PACKAGE...: installs those of the Debian packages named that are not installed
# yet, with sudo when not root; does nothing (and needs no root) when all are there. Says what it
# installs under the name of the script that asked.
need_packages() {
  local p missing=()
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -gt 0 ] || return 0
  local sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  echo "$(basename "$0" .sh): installing ${missing[*]}"
  "${sudo[@]}" apt-get update -qq
  # sudo drops the caller's environment, so the front end is set on its far side.
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive \
    apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}
