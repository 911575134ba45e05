#!/bin/sh
# Holds the tree to its style and its static checks; fails on any finding.
#   sh tools/lint.sh BUILD_DIR   (a configured build with compile_commands.json)
set -eu
cd "$(dirname "$0")/.."
build=${1:-build}

sources=$(git ls-files '*.cpp' '*.h')
# shellcheck disable=SC2086 # one word per file
clang-format --dry-run --Werror $sources
echo "clang-format: the tree follows .clang-format"

# The project's own translation units; code generated into the build folder is not ours.
run-clang-tidy -p "$build" -quiet -extra-arg=-Wno-unknown-warning-option \
    "^$PWD/(src|tests|bench)/" >"$build/clang-tidy.log" 2>&1 || {
    grep -E "(warning|error):" "$build/clang-tidy.log" | sort -u
    echo "clang-tidy: findings above (checks in .clang-tidy)" >&2
    exit 1
}
echo "clang-tidy: no findings"
