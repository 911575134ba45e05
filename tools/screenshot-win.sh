#!/bin/sh
# Takes the README's picture of the Windows program's window: in a virtual X display under Wine,
# the three parts of a disc image are picked in the real open dialog with the keyboard, as a
# person would, and the window is photographed with them listed.
# Needs: xvfb xdotool imagemagick wine64 fonts-wine (Wine's own Tahoma and Marlett give the
# window the look of Windows) and a Windows build of the program.
# Usage: tools/screenshot-win.sh WINDOWS_BUILD_DIR [OUTPUT_DIR]
#   writes OUTPUT_DIR/windows-window.png; OUTPUT_DIR is the tree's docs folder unless given.
set -eu
build=$(cd "$1" && pwd)
out=${2:-$(dirname "$0")/../docs}
out=$(mkdir -p "$out" && cd "$out" && pwd)

if [ -z "${PARTWRIGHT_IN_XVFB:-}" ]; then
    PARTWRIGHT_IN_XVFB=1 exec xvfb-run -a -s '-screen 0 1280x1024x24' "$0" "$@"
fi

work=$(mktemp -d)
export WINEPREFIX="$work/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine=/usr/lib/wine/wine64
app=""
trap '[ -z "$app" ] || kill "$app" 2>/dev/null || true; /usr/lib/wine/wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT

# A prefix of its own, where Wine draws the window frames itself, as Windows does (there is no
# window manager), with Wine's fonts.
"$wine" wineboot -i >/dev/null 2>&1
"$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1
cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
/usr/lib/wine/wineserver -w

mkdir "$work/Game Disc"
for n in 1 2 3; do head -c 200000 /dev/urandom >"$work/Game Disc/GAME DISC.00$n"; done

# The open dialog starts in the program's current folder.
(cd "$work" && exec "$wine" "$build/src/partwright.exe") &
app=$!

# Without a window manager the keys go to the window under the pointer; it rests where no
# tooltip shows.
main=$(xdotool search --sync --name '^Partwright \[[0-9.]*\] by Quillon$' | head -n 1)
xdotool mousemove --window "$main" 40 200
sleep 1

xdotool key alt+f
dialog=$(xdotool search --sync --name '^Open$' | head -n 1)
xdotool mousemove --window "$dialog" 200 8
sleep 1
xdotool type --delay 30 'Game Disc'
xdotool key Return
sleep 1
xdotool type --delay 30 '"GAME DISC.003" "GAME DISC.001" "GAME DISC.002"'
# The first Return may only close the name box's completion list.
for _ in 1 2 3; do
    xdotool key Return
    sleep 1.5
    xdotool search --name '^Open$' >/dev/null || break
done

xdotool mousemove --window "$main" 40 200
sleep 1
/usr/bin/import -window "$main" "$out/windows-window.png"
echo "Wrote $out/windows-window.png"
