#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the Debian package build/release/trelvik_VERSION-REVISION_ARCH.deb from the release
# preset. Only what the package holds is built (not the benchmarks), then cpack packs it;
# `cmake --build --preset release --target package` gives the same package after building
# every target. Install it with: sudo apt install ./build/release/trelvik_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset release >/dev/null
nice -n 5 cmake --build --preset release --target trelvik trelvik-cli trelvik_package_files
cd build/release
rm -f trelvik_*.deb
cpack -G DEB >cpack.log 2>&1 || { cat cpack.log; exit 1; }
deb=$(ls trelvik_*.deb)
echo "package: build/release/$deb"
