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

source "$(dirname "$0")/lib/packages.sh"
need_packages "${packages[@]}"
echo "install-deps: everything is installed"
