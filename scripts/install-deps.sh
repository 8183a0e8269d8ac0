#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs every Debian 12 package that building, running and testing Trelvik needs.
# Safe to run again: packages already present are skipped. Needs root (or sudo).
set -euo pipefail

packages=(
  cmake ninja-build g++ pkgconf git python3
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libudev-dev libicu-dev libxcb1-dev nlohmann-json3-dev
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  umockdev libumockdev-dev
  clang libclang-rt-14-dev clang-format
  xvfb xauth imagemagick fonts-dejavu-core fonts-dejavu-extra fonts-noto-cjk fonts-freefont-ttf
  dpkg-dev help2man librsvg2-bin lintian appstream desktop-file-utils bash-completion x11-utils
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  echo "install-deps: everything is installed"
  exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
echo "install-deps: installing ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
