#!/bin/sh
# Sets up a Debian 12 machine for Partwright, builds it, and then starts it or runs every test.
#   sh tools/dev.sh run     install what is missing, build, start the program
#   sh tools/dev.sh test    install what is missing, build, run every test
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

packages="cmake make g++ pkg-config qt6-base-dev libgtest-dev fonts-dejavu-core xdg-utils"
# The tests also make the file systems they need (FAT where the kernel has it).
[ "$action" = test ] && packages="$packages dosfstools"

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

build=build
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" --parallel "$(nproc)"

if [ "$action" = run ]; then
    exec "$build/src/partwright"
fi
ctest --test-dir "$build" --output-on-failure --timeout 600
