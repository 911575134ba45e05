#!/bin/sh
# Sets up a Debian 12 machine for Partwright, builds it, and then starts it or runs every test.
#   sh tools/dev.sh run     install what is missing, build the program alone, start it
#   sh tools/dev.sh test    install what is missing, build, and pass every check: the style and
#                           static checks, the Linux tests, the Debian package installed and
#                           tried, and the Windows build under Wine (64-bit run, 32-bit compiled)
set -eu
cd "$(dirname "$0")/.."

action=${1:-}
case "$action" in
run | test) ;;
*)
    echo "usage: sh tools/dev.sh run|test" >&2
    exit 2
    ;;
esac

packages="cmake make g++ pkg-config qt6-base-dev libgcrypt20-dev libgtest-dev fonts-dejavu-core xdg-utils"
if [ "$action" = test ]; then
    # File systems the tests make, the tools that make real disc images, the locales the tests
    # run in, and the Windows cross build with Wine to run it.
    packages="$packages dosfstools xorriso genisoimage googletest"
    # The tools that write the checksum files the tests read, and what the benchmark compares with.
    packages="$packages rhash openssl zlib1g-dev"
    packages="$packages locales"
    packages="$packages clang-format clang-tidy"
    packages="$packages dpkg-dev desktop-file-utils appstream xvfb xdotool file"
    packages="$packages g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix libgcrypt-mingw-w64-dev"
    packages="$packages wine64 fonts-wine"
fi

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

missing=""
for package in $packages; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
        missing="$missing $package"
done
if [ -n "$missing" ]; then
    echo "Installing:$missing"
    as_root apt-get update -q
    # shellcheck disable=SC2086 # one word per package
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends $missing
fi

# The tests also run in Turkish, where the capital of "i" is not "I".
if [ "$action" = test ] && ! locale -a | grep -qix 'tr_TR\.utf-\?8'; then
    as_root localedef -i tr_TR -f UTF-8 tr_TR.UTF-8
fi

jobs=$(nproc)
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo

if [ "$action" = run ]; then
    # The program only; the tests and benchmarks wait for "test", which reuses this build folder.
    cmake --build build --target partwright --parallel "$jobs"
    exec build/src/partwright
fi

cmake --build build --parallel "$jobs"

ctest --test-dir build --output-on-failure --timeout 600
sh tools/lint.sh build
sh tools/package-check.sh build

# Windows: the program with its own Win32 window, and its tests.
for arch in x86_64 i686; do
    cmake -S . -B "build-win-$arch" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_TOOLCHAIN_FILE="cmake/toolchains/mingw-w64-$arch.cmake" \
        -DPARTWRIGHT_BUILD_BENCH=OFF
    cmake --build "build-win-$arch" --parallel "$jobs"
    # The ZIP a Windows user gets: partwright.exe, its help file, and libgcrypt's DLLs with their
    # licence notices.
    cpack --config "build-win-$arch/CPackConfig.cmake" -B "build-win-$arch/dist" >/dev/null
    listed=$(cmake -E tar tf "build-win-$arch"/dist/partwright-*.zip)
    for file in partwright.exe Partwright_by_Quillon_README.txt libgcrypt-20.dll \
        libgpg-error-0.dll libgcrypt-copyright.txt libgpg-error-copyright.txt; do
        echo "$listed" | grep -q "/$file\$" || { echo "the ZIP lacks $file" >&2; exit 1; }
    done
done
# Only 64-bit Windows programs run here: 32-bit Wine cannot start on this kind of kernel. Wine
# shows the windows on a virtual display.
PARTWRIGHT_WINEPREFIX="$PWD/build-win-x86_64/wineprefix" xvfb-run -a -s '-screen 0 1280x1024x24' \
    ctest --test-dir build-win-x86_64 --output-on-failure --timeout 600
