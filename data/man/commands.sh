#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Writes help2man's [COMMANDS] section for trelvik-cli(1) from the program's own help, so
# the manual lists every command the program registers, with its full help:
#   commands.sh TRELVIK_CLI OUTPUT
set -euo pipefail
cli=$1
out=$2
roff() { sed -e 's/\\/\\e/g' -e "s/^\([.']\)/\\\\\&\1/"; }
{
  echo "[COMMANDS]"
  "$cli" --help | sed -n '/^commands:/,/^$/p' | sed -n 's/^  \([a-z-]*\).*/\1/p' | while read -r name; do
    echo ".TP"
    "$cli" "$name" --help | head -1 | sed 's/^usage: trelvik-cli //' | roff | sed 's/^/.B /'
    echo ".nf"
    "$cli" "$name" --help | tail -n +3 | roff
    echo ".fi"
  done
} >"$out.tmp"
mv "$out.tmp" "$out"
