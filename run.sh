#!/usr/bin/env bash
# Builds Quolix in release mode and runs it recording from the simulated
# counter. Without a display it runs under Xvfb for about 20 seconds, starts a
# recording, and leaves a screenshot and a .qlx file behind.
set -euo pipefail
cd "$(dirname "$0")"

scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release --target quolix quolix-counter-sim

bin=build/release
link="${TMPDIR:-/tmp}/quolix-com1-$$"
"$bin/tools/counter-sim/quolix-counter-sim" --link "$link" --freq-hz 10000000 \
    --drift-ppm-per-hour 2 --noise 3 --seed 1 >/dev/null &
sim=$!
cleanup() {
    kill "$sim" 2>/dev/null || true
    wait "$sim" 2>/dev/null || true
    [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT
for _ in $(seq 50); do [ -e "$link" ] && break; sleep 0.1; done
export QUOLIX_COM1="$link"

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    "$bin/src/app/quolix" "$@"
else
    out="$PWD/out/demo"
    mkdir -p "$out"
    display=:$((90 + RANDOM % 100))
    Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb=$!
    sleep 1
    echo "No display: running Quolix under Xvfb ($display) for about 20 seconds..."
    DISPLAY="$display" "$bin/src/app/quolix" --demo 20 "$out"
    echo "Screenshot: $out/quolix-demo.png"
    echo "Recording:  $out/quolix-demo.qlx"
fi
