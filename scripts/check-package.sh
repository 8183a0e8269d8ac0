#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the Debian package and checks it as installed files, not as a build folder: lintian,
# AppStream and desktop-entry validation, then the programs run from the package unpacked
# into an empty folder (another prefix than /usr), including the bad cases: a relative link,
# a missing command file, the udev rule installed twice. Results land in build/package-check/.
#   --screenshots (or TRELVIK_SCREENSHOTS=1)   also photographs the tools under Xvfb: the screens
#       and main windows into build/package-check/*.png, and the two main windows over the
#       AppStream screenshots, data/desktop/screenshots/trelvik.png and trelvik-settings.png.
#       Without it the windows are checked (started, titled, still running) and not photographed.
set -euo pipefail
cd "$(dirname "$0")/.."
started=$(date +%s)
screenshots=${TRELVIK_SCREENSHOTS:-0}
case "${1:-}" in
  --screenshots) screenshots=1 ;;
  "") ;;
  *) echo "usage: scripts/check-package.sh [--screenshots]" >&2; exit 1 ;;
esac
bash scripts/package.sh
deb=$(ls build/release/trelvik_*.deb)
out=$PWD/build/package-check
rm -rf "$out"
mkdir -p "$out/root" "$out/tmp"
root=$out/root

fail() {
  echo "check-package: $*" >&2
  exit 1
}
# expect_in FILE TEXT...: each TEXT occurs in FILE.
expect_in() {
  local file=$1
  shift
  for text in "$@"; do
    grep -qF -- "$text" "$file" || { cat "$file" >&2; fail "'$text' is missing from $(basename "$file")"; }
  done
}

echo "== package contents ($deb)"
dpkg-deb -c "$deb" | awk '{print $6 $7 $8}' >"$out/contents.txt"
dpkg-deb -f "$deb" >"$out/control.txt"
cat "$out/control.txt"
expect_in "$out/contents.txt" \
  ./usr/lib/trelvik/trelvik ./usr/lib/trelvik/mass_cmd.ini \
  ./usr/lib/trelvik/settings/trelvik ./usr/lib/trelvik/settings/Camera_Setting.ini \
  ./usr/lib/trelvik/settings/Camera_Setting_UNICODE_msg.ini \
  ./usr/bin/trelvik-\>../lib/trelvik/trelvik ./usr/bin/trelvik-settings-\>../lib/trelvik/settings/trelvik \
  ./usr/bin/trelvik-cli ./lib/udev/rules.d/70-trelvik.rules \
  ./usr/share/applications/org.trelvik.Trelvik.desktop ./usr/share/applications/org.trelvik.Trelvik.Settings.desktop \
  ./usr/share/metainfo/org.trelvik.Trelvik.metainfo.xml \
  ./usr/share/icons/hicolor/scalable/apps/org.trelvik.Trelvik.svg \
  ./usr/share/icons/hicolor/48x48/apps/org.trelvik.Trelvik.png \
  ./usr/share/man/man1/trelvik.1.gz ./usr/share/man/man1/trelvik-cli.1.gz ./usr/share/man/man1/trelvik-settings.1.gz \
  ./usr/share/bash-completion/completions/trelvik-cli \
  ./usr/share/doc/trelvik/copyright ./usr/share/doc/trelvik/changelog.Debian.gz
expect_in "$out/control.txt" "Depends: " "libqt6widgets6" "libudev1"

echo "== lintian"
# Errors fail the step; warnings and below are shown for the record.
lintian --fail-on error --display-info --tag-display-limit 0 "$deb" 2>&1 | tee "$out/lintian.txt" ||
  fail "lintian reports errors"

dpkg-deb -x "$deb" "$root"
dpkg-deb -e "$deb" "$out/control"

echo "== appstream and desktop entries"
appstreamcli validate --no-net "$root/usr/share/metainfo/org.trelvik.Trelvik.metainfo.xml" 2>&1 |
  tee "$out/appstream.txt" || fail "appstreamcli validate fails"
desktop-file-validate "$root"/usr/share/applications/*.desktop || fail "desktop-file-validate fails"

echo "== trelvik-cli from the unpacked package"
cli=$root/usr/bin/trelvik-cli
"$cli" --version
"$cli" --simulate info | tee "$out/info.json"
expect_in "$out/info.json" '"version"' '"model"' '"make"'
"$cli" table "$root/usr/lib/trelvik/mass_cmd.ini" >"$out/table.json"
expect_in "$out/table.json" '"title": "Trelvik - trail camera configuration"' '"entries"'
"$cli" messages "$root/usr/lib/trelvik/settings/Camera_Setting_UNICODE_msg.ini" >"$out/messages.json"
# The profile commands find the packaged command file from the CLI's own place.
"$cli" dump --simulate >"$out/profile.ini"
expect_in "$out/profile.ini" "[Settings]" "PIR_SENSITIVITY="
# A command file that is not there is named, with the tool's exit code for bad input.
rc=0
"$cli" table "$root/usr/lib/trelvik/no_such_cmd.ini" 2>"$out/missing.txt" || rc=$?
[ "$rc" = 1 ] || fail "trelvik-cli table on a missing file exits $rc, not 1"
expect_in "$out/missing.txt" "no_such_cmd.ini does not exist"

echo "== the window tool answers --help and --version without a display"
env -u DISPLAY "$root/usr/bin/trelvik" --version | tee "$out/version.txt"
expect_in "$out/version.txt" "trelvik "
env -u DISPLAY "$root/usr/bin/trelvik-settings" --help >"$out/help.txt"
expect_in "$out/help.txt" "--simulate[=STATE.json]"

echo "== manual pages and completion"
for page in trelvik trelvik-cli trelvik-settings; do
  MANWIDTH=80 man --warnings -l "$root/usr/share/man/man1/$page.1.gz" >"$out/$page.1.txt" 2>"$out/$page.1.warnings"
  [ ! -s "$out/$page.1.warnings" ] || { cat "$out/$page.1.warnings"; fail "man $page warns"; }
done
expect_in "$out/trelvik-cli.1.txt" "SYNOPSIS" "COMMANDS" "set-clock" "Exit codes" "UDEV RULE" "SIMULATED CAMERA"
expect_in "$out/trelvik.1.txt" "SYNOPSIS" "--simulate" "Exit status" "UDEV RULE" "mass_cmd.ini"
completions=$(PATH="$root/usr/bin:$PATH" bash -c '
  source /usr/share/bash-completion/bash_completion
  source "$1"
  COMP_WORDS=(trelvik-cli ta); COMP_CWORD=1; COMP_LINE="trelvik-cli ta"; COMP_POINT=${#COMP_LINE}
  _trelvik_cli; echo "${COMPREPLY[*]}"
  COMP_WORDS=(trelvik-cli info --si); COMP_CWORD=2; COMP_LINE="trelvik-cli info --si"; COMP_POINT=${#COMP_LINE}
  _trelvik_cli; echo "${COMPREPLY[*]}"' _ "$root/usr/share/bash-completion/completions/trelvik-cli")
echo "$completions"
[ "$completions" = $'table\n--simulate' ] || fail "bash completion offers '$completions'"

echo "== the udev rule installed twice is named by the package's script"
mkdir -p "$root/etc/udev/rules.d"
cp "$root/lib/udev/rules.d/70-trelvik.rules" "$root/etc/udev/rules.d/70-trelvik.rules"
cp "$root/lib/udev/rules.d/70-trelvik.rules" "$root/etc/udev/rules.d/99-camera.rules"
DPKG_ROOT=$root sh "$out/control/postinst" configure 2>"$out/postinst.txt"
cat "$out/postinst.txt"
expect_in "$out/postinst.txt" "/etc/udev/rules.d/70-trelvik.rules takes the place of /lib/udev/rules.d/70-trelvik.rules" \
  "/etc/udev/rules.d/99-camera.rules runs beside"
rm -r "$root/etc"

echo "== the tools on the simulated camera under Xvfb"
# A private temporary folder: the single-instance socket of a tool running elsewhere on this
# machine must not answer ours.
cat >"$out/run-window.sh" <<'EOS'
# run-window.sh NAME EXE SECONDS: starts EXE on the simulated camera, waits for a top-level
# window and lists the windows into NAME.windows; with TRELVIK_SCREENSHOTS=1 it also
# photographs the screen into NAME.png and the main window into NAME-window.png.
set -u
name=$1 exe=$2 seconds=$3
"$exe" --simulate >"$name.out" 2>&1 &
pid=$!
for _ in $(seq "$((seconds * 2))"); do
  sleep 0.5
  xwininfo -root -tree | grep -q '"Trelvik' && break
done
sleep 2
xwininfo -root -tree >"$name.windows"
if [ "${TRELVIK_SCREENSHOTS:-0}" = 1 ]; then
  import -window root "$name.png" 2>/dev/null || true
  # The main window alone, as the AppStream screenshots in data/desktop/screenshots show it.
  id=$(grep '"Trelvik - ' "$name.windows" | grep -v ' 1x1+' | awk '{print $1}' | head -1)
  [ -z "$id" ] || import -window "$id" "$name-window.png" 2>/dev/null || true
fi
if kill -0 "$pid" 2>/dev/null; then echo running >"$name.state"; else echo ended >"$name.state"; fi
kill "$pid" 2>/dev/null
wait "$pid" 2>/dev/null
exit 0
EOS
mkdir -p "$out/broken"
cp -a "$root/usr" "$out/broken/"
rm "$out/broken/usr/lib/trelvik/mass_cmd.ini"
ln -s root/usr/lib/trelvik/settings/trelvik "$out/relative-settings"
(
  cd "$out"
  export TMPDIR=$out/tmp QT_QPA_PLATFORM=xcb TRELVIK_SCREENSHOTS=$screenshots
  xvfb-run -a -s "-screen 0 1280x900x24" bash -c '
    bash run-window.sh settings root/usr/bin/trelvik-settings 15
    bash run-window.sh full root/usr/bin/trelvik 15
    bash run-window.sh relative ./relative-settings 15
    bash run-window.sh missing broken/usr/bin/trelvik 8'
)
for name in settings full relative; do
  [ "$(cat "$out/$name.state")" = running ] || { cat "$out/$name.out"; fail "the $name tool ended early"; }
done
expect_in "$out/settings.windows" '"Trelvik - camera settings'
expect_in "$out/relative.windows" '"Trelvik - camera settings'
expect_in "$out/full.windows" '"Trelvik - trail camera configuration'
# Without its command file the tool shows its own box and waits; it never opens a window
# from another folder's file.
[ "$(cat "$out/missing.state")" = running ] || { cat "$out/missing.out"; fail "the tool without mass_cmd.ini ended"; }
if grep -q '"Trelvik - ' "$out/missing.windows"; then fail "the tool without mass_cmd.ini opened a main window"; fi
expect_in "$out/missing.windows" '"trelvik"'

if [ "$screenshots" = 1 ]; then
  for name in full settings; do
    [ -s "$out/$name-window.png" ] || fail "no screenshot of the $name tool's window"
  done
  cp "$out/full-window.png" data/desktop/screenshots/trelvik.png
  cp "$out/settings-window.png" data/desktop/screenshots/trelvik-settings.png
  echo "screenshots: build/package-check/*.png; the AppStream ones in data/desktop/screenshots/"
fi
echo "== package checked in $(($(date +%s) - started)) s"
