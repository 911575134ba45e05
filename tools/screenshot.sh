#!/bin/sh
# Takes the README's screenshots of the real program in a virtual X display, driving it with the
# keyboard as a person would: pick three parts in the open dialog, build, read the report; pick
# two large ones with their checksum file and watch them being checked in the image.
# Needs: xvfb x11-utils imagemagick xdotool openbox (and a built program).
# Usage: tools/screenshot.sh BUILD_DIR OUTPUT_DIR [SCALE]
#   SCALE (1 or 2) is Qt's scale factor; pictures taken at 2 are named NAME@2x.png.
set -eu
build=$(cd "$1" && pwd)
out=$(mkdir -p "$2" && cd "$2" && pwd)
scale=${3:-1}
export QT_SCALE_FACTOR="$scale"
suffix=""
[ "$scale" = 1 ] || suffix="@${scale}x"

if [ -z "${PARTWRIGHT_IN_XVFB:-}" ]; then
    PARTWRIGHT_IN_XVFB=1 exec xvfb-run -a -s '-screen 0 1280x1024x24' "$0" "$@"
fi

work=$(mktemp -d)
trap 'kill $app 2>/dev/null || true; rm -rf "$work"' EXIT
mkdir "$work/Game Disc"
for n in 1 2 3; do head -c 200000 /dev/urandom >"$work/Game Disc/GAME DISC.00$n"; done
# Two large parts with the checksum file of each, for a check that lasts long enough to see.
mkdir "$work/Big Disc"
for n in 1 2; do truncate -s 1G "$work/Big Disc/BIG DISC.00$n"; done
(cd "$work/Big Disc" && md5sum "BIG DISC.001" "BIG DISC.002" >"BIG DISC.md5")

shoot() { # window-id name
    sleep 0.7
    /usr/bin/import -window "$1" -frame "$out/$2$suffix.png"
}

openbox >/dev/null 2>&1 &
sleep 1
(cd "$work" && exec "$build/src/partwright") &
app=$!

main=$(xdotool search --sync --name '^Partwright \[[0-9.]*\] by Quillon$' | head -n 1)
xdotool windowactivate --sync "$main"

# Build with nothing listed: the error report.
xdotool key alt+b
box=$(xdotool search --sync --name '^Error\.\.\.$' | head -n 1)
shoot "$box" error-box
xdotool key Return
sleep 0.5

# Pick the parts: type the folder, then the three names, in Qt's own file dialog.
xdotool key alt+f
dialog=$(xdotool search --sync --name '^Open$' | head -n 1)
sleep 0.5
xdotool type --delay 20 "$work/Game Disc/"
xdotool key Return
sleep 0.5
xdotool type --delay 20 '"GAME DISC.003" "GAME DISC.001" "GAME DISC.002"'
shoot "$dialog" open-dialog
xdotool key Return
sleep 0.5
shoot "$main" main-window

# Build, and read the report.
xdotool key alt+b
box=$(xdotool search --sync --name '^Info\.\.\.$' | head -n 1)
shoot "$box" success-box
xdotool key Return
sleep 0.5

# The progress window while the parts are checked against their checksum file; Esc cancels.
xdotool key alt+c alt+f
dialog=$(xdotool search --sync --name '^Open$' | head -n 1)
sleep 0.5
xdotool type --delay 20 "$work/Big Disc/"
xdotool key Return
sleep 0.5
xdotool type --delay 20 '"BIG DISC.001" "BIG DISC.002"'
xdotool key Return
sleep 0.5
xdotool key alt+b
progress=$(xdotool search --sync --name '^Building\.\.\.$' | head -n 1)
sleep 0.5
shoot "$progress" check-progress
xdotool key Escape
box=$(xdotool search --sync --name '^Info\.\.\.$' | head -n 1)
xdotool key Return
sleep 0.5

# The About window, opened with the mouse.
xdotool mousemove --window "$main" $((108 * scale)) $((236 * scale)) click 1
about=$(xdotool search --sync --name '^About\.\.\.$' | head -n 1)
shoot "$about" about-window
xdotool key Return

cat "$work/Game Disc/GAME DISC.001" "$work/Game Disc/GAME DISC.002" "$work/Game Disc/GAME DISC.003" |
    cmp - "$work/Game Disc/OUTFILE.ISO" && echo "The image is the three parts, byte for byte."
