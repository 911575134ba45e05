#!/bin/sh
# Takes the README's screenshots of the real program in a virtual X display.
# Needs: xvfb x11-utils imagemagick xdotool openbox (and a built program).
# Usage: tools/screenshot.sh BUILD_DIR OUTPUT_DIR
set -eu
build=$(cd "$1" && pwd)
out=$(mkdir -p "$2" && cd "$2" && pwd)

if [ -z "${PARTWRIGHT_IN_XVFB:-}" ]; then
    PARTWRIGHT_IN_XVFB=1 exec xvfb-run -a -s '-screen 0 1024x768x24' "$0" "$@"
fi

openbox >/dev/null 2>&1 &
sleep 1
"$build/src/partwright" &
app=$!
trap 'kill $app 2>/dev/null || true' EXIT

wid=$(xdotool search --sync --name '^Partwright \[[0-9.]*\] by Quillon$' | head -n 1)
sleep 1
/usr/bin/import -window "$wid" -frame "$out/main-window.png"

# An error report: build with nothing listed.
xdotool windowactivate --sync "$wid"
xdotool key --window "$wid" alt+b
box=$(xdotool search --sync --name '^Error\.\.\.$' | head -n 1)
sleep 1
/usr/bin/import -window "$box" -frame "$out/error-box.png"
xdotool key Return
