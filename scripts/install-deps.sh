#!/usr/bin/env bash
# Installs every Debian package that building, testing and running Quolix
# needs. Quiet and quick when everything is already there.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config
    googletest libgtest-dev libgmock-dev libbenchmark-dev
    clang-format clang libclang-rt-14-dev llvm
    qt6-base-dev qt6-translations-l10n libgl1-mesa-dev
    # asking the print spooler whether a queue takes jobs
    libcups2-dev
    # reading the keyboard's lock-key lights on X11
    libx11-dev
    fonts-ipafont-gothic fonts-noto-cjk
    xvfb xauth x11-apps poppler-utils
    time
    # manual pages, the Debian package and its checks
    scdoc dpkg-dev desktop-file-utils
    # The Windows build: mingw-w64 with the posix thread model (std::mutex,
    # std::thread), and wine to run its programs and tests here.
    g++-mingw-w64-x86-64-posix mingw-w64-tools wine wine64
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
    sudo_cmd=(sudo)
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
