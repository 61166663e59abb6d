#!/usr/bin/env bash
# Installs what is missing, checks formatting, then builds and runs the whole
# suite twice: the dev build, and under AddressSanitizer + UBSan; then the
# Windows build under wine; then fuzzes the three input parsers for a fixed
# number of inputs each (clang, libFuzzer).
set -euo pipefail
cd "$(dirname "$0")"

scripts/install-deps.sh

echo "== format check"
git ls-files '*.cpp' '*.h' | xargs -r clang-format --dry-run --Werror
# Each layer sees only the folders below it (cmake/Layers.cmake); an include
# that climbs out of its folder with "../" would slip past that.
if git grep -n '#include "\.\./' -- src tests bench tools; then
    echo "includes name a folder of src/, never a path relative to the file" >&2
    exit 1
fi

export QT_QPA_PLATFORM=offscreen
for preset in dev asan; do
    echo "== $preset: configure"
    cmake --preset "$preset" >/dev/null
    echo "== $preset: build"
    cmake --build --preset "$preset"
    echo "== $preset: test"
    ctest --preset "$preset"
done

# The core and quolix-cli for Windows (mingw-w64), tested under wine against
# the dev build's simulator and Linux tool (scripts/windows-test.sh).
echo "== windows: configure"
cmake --preset windows >/dev/null
echo "== windows: build"
cmake --build --preset windows
scripts/windows-test.sh build/dev

echo "== fuzz: configure"
cmake --preset fuzz >/dev/null
echo "== fuzz: build"
cmake --build --preset fuzz
echo "== fuzz: run"
scripts/fuzz-ci.sh
