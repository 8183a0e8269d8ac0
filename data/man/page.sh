#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Makes one compressed manual page from a program's --help and --version with help2man:
#   page.sh HELP2MAN OUTPUT.1.gz PROGRAM INCLUDE.h2m...
# A list in the help that is no option list (trelvik-cli's commands) keeps its lines, which
# help2man would fill into one paragraph.
set -euo pipefail
help2man=$1 out=$2 program=$3
shift 3
includes=()
for file in "$@"; do includes+=("--include=$file"); done
"$help2man" --no-info --section=1 "${includes[@]}" --output="${out%.gz}" "$program"
sed -i -e '/^\.SS "commands:"$/,/^\.SS/{/^\.IP$/a .nf
/^\.SS "options/i .fi
}' "${out%.gz}"
gzip -9nf "${out%.gz}"
