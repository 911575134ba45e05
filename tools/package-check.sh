#!/bin/sh
# Builds the Debian package, installs it on this machine and checks the installed program as a
# user would meet it: the launcher on the PATH, the desktop files, a start that stays up, and the
# Read Help button finding the help file beside the real program.
#   sh tools/package-check.sh BUILD_DIR    (as root, or with sudo)
set -eu
cd "$(dirname "$0")/.."
build=$(cd "${1:-build}" && pwd)

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}
fail() {
    echo "package check: $*" >&2
    exit 1
}

(cd "$build" && cpack -G DEB >/dev/null 2>&1)
deb=$(ls "$build"/partwright_*.deb)
as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --reinstall "$deb" >/dev/null 2>&1
echo "package check: installed $(basename "$deb")"
dpkg-deb -f "$deb" Depends | grep -q libgcrypt20 || fail "the package does not depend on libgcrypt20"

program=$(readlink -f "$(command -v partwright)")
[ "$program" = /usr/libexec/partwright/partwright ] || fail "the launcher leads to $program"
help="$(dirname "$program")/Partwright_by_Quillon_README.txt"
[ -f "$help" ] || fail "no help file beside the program"
desktop-file-validate /usr/share/applications/io.partwright.Partwright.desktop
appstreamcli validate --no-net /usr/share/metainfo/io.partwright.Partwright.metainfo.xml >/dev/null
for size in 16x16 32x32 48x48 64x64 256x256; do
    [ -f "/usr/share/icons/hicolor/$size/apps/io.partwright.Partwright.png" ] || fail "no $size icon"
done
[ -f /usr/share/icons/hicolor/scalable/apps/io.partwright.Partwright.svg ] || fail "no scalable icon"
echo "package check: launcher, help file, desktop entry, metainfo and icons in place"

# Started offscreen, the installed program is still up after two seconds.
QT_QPA_PLATFORM=offscreen partwright >/dev/null 2>&1 &
pid=$!
sleep 2
kill -0 "$pid" 2>/dev/null || fail "the installed program did not stay up"
kill "$pid"
wait "$pid" 2>/dev/null || true
echo "package check: the installed program starts and stays up"

# Read Help, pressed in the real window: the desktop's default text viewer (here one that notes
# what it was asked to open) must get the help file beside the real program.
desk=$(mktemp -d)
trap 'rm -rf "$desk"' EXIT
mkdir -p "$desk/applications"
cat >"$desk/note-opened" <<EOF_VIEWER
#!/bin/sh
printf '%s' "\$1" >"$desk/opened"
EOF_VIEWER
chmod +x "$desk/note-opened"
cat >"$desk/applications/note-opened.desktop" <<EOF_ENTRY
[Desktop Entry]
Type=Application
Name=Note opened file
Exec=$desk/note-opened %f
MimeType=text/plain;
EOF_ENTRY
printf '[Default Applications]\ntext/plain=note-opened.desktop\n' >"$desk/mimeapps.list"

cat >"$desk/press-help" <<'EOF_PRESS'
#!/bin/sh
partwright >/dev/null 2>&1 &
pid=$!
window=$(xdotool search --sync --name '^Partwright \[[0-9.]*\] by Quillon$' | head -n 1)
sleep 1
xdotool mousemove --window "$window" 48 236 click 1
for _ in $(seq 50); do [ -f "$XDG_CONFIG_HOME/opened" ] && break; sleep 0.2; done
kill "$pid"
EOF_PRESS
XDG_CONFIG_HOME="$desk" XDG_DATA_HOME="$desk" XDG_CURRENT_DESKTOP="" \
    timeout 60 xvfb-run -a sh "$desk/press-help" 2>/dev/null || true
[ "$(cat "$desk/opened" 2>/dev/null)" = "$help" ] ||
    fail "Read Help opened '$(cat "$desk/opened" 2>/dev/null)', not '$help'"
echo "package check: Read Help opens $help"
