#!/bin/sh
# Runs a program of the Windows cross build under 64-bit Wine; CMake uses it as the emulator.
# On first use it prepares the Wine prefix, with the per-program Windows versions that the
# version tests ask for (winver_win98.exe sees Windows 98, and so on), and with dot-names shown
# as what they are: otherwise Wine reports every file whose name starts with a dot as hidden.
set -eu
export WINEPREFIX="${PARTWRIGHT_WINEPREFIX:-${XDG_CACHE_HOME:-$HOME/.cache}/partwright-wine}"
export WINEDEBUG=-all
export WINELOADER=/usr/lib/wine/wine64
export WINEDLLOVERRIDES="mscoree,mshtml="
wine=/usr/lib/wine/wine64

mkdir -p "$(dirname "$WINEPREFIX")"
(
    flock 9
    if [ ! -f "$WINEPREFIX/.partwright-ready-2" ]; then
        "$wine" wineboot -i >/dev/null 2>&1
        "$wine" reg add 'HKCU\Software\Wine' /v ShowDotFiles /d Y /f >/dev/null 2>&1
        for version in win95 win98 winme nt40 win2k winxp; do
            "$wine" reg add "HKCU\\Software\\Wine\\AppDefaults\\winver_$version.exe" \
                /v Version /d "$version" /f >/dev/null 2>&1
        done
        /usr/lib/wine/wineserver -w
        touch "$WINEPREFIX/.partwright-ready-2"
    fi
    # A network share for the tests: \\server\share is a folder of the prefix.
    mkdir -p "$WINEPREFIX/drive_c/share" "$WINEPREFIX/dosdevices/unc/server"
    ln -sfn ../../../drive_c/share "$WINEPREFIX/dosdevices/unc/server/share"
) 9>"$WINEPREFIX.lock"

exec "$wine" "$@"
