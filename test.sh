#!/usr/bin/env bash
# Installs what is missing, checks formatting, then builds and runs the whole
# suite twice: the dev build, and under AddressSanitizer + UBSan.
set -euo pipefail
cd "$(dirname "$0")"

scripts/install-deps.sh

echo "== format check"
git ls-files '*.cpp' '*.h' | xargs -r clang-format --dry-run --Werror

export QT_QPA_PLATFORM=offscreen
for preset in dev asan; do
    echo "== $preset: configure"
    cmake --preset "$preset" >/dev/null
    echo "== $preset: build"
    cmake --build --preset "$preset"
    echo "== $preset: test"
    ctest --preset "$preset"
done
