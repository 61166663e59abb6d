#!/usr/bin/env bash
# Builds Quolix in release mode (all programs) and runs it recording from the
# simulated counter. Without a display it runs under Xvfb for about 20
# seconds, starts a recording, and leaves a screenshot and a .qlx file behind.
set -euo pipefail
cd "$(dirname "$0")"

scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release --target quolix quolix-cli quolix-cli-render quolix-counter-sim

bin=build/release
app="$bin/src/app/quolix"
cli="$bin/src/cli/quolix-cli"
sim_program="$bin/tools/counter-sim/quolix-counter-sim"
echo "Programs built:"
echo "  $app"
echo "  $cli"
echo "  $bin/src/cli/quolix-cli-render   (started by quolix-cli render)"
echo "  $sim_program"

work=$(mktemp -d "${TMPDIR:-/tmp}/quolix-run.XXXXXX")
link="$work/com1"
"$sim_program" --link "$link" --freq-hz 10000000 --resolution 0 \
    --drift-ppm-per-hour 2 --noise 3 --seed 1 >/dev/null &
sim=$!
cleanup() {
    kill "$sim" 2>/dev/null || true
    wait "$sim" 2>/dev/null || true
    [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
for _ in $(seq 50); do [ -e "$link" ] && break; sleep 0.1; done
export QUOLIX_COM1="$link"

# The demo keeps its own settings, so that what the user saved for a real
# counter (a resolution of 1 Hz, another port) cannot make the simulated one
# read wrong; its resolution is set to the simulator's every time.
out="$PWD/out/demo"
mkdir -p "$out"
settings="$out/quolix-demo.ini"
if ! "$cli" --settings "$settings" settings --set resolution=100Hz --set port=COM1 \
    >/dev/null 2>"$work/settings.err"; then
    cat "$work/settings.err" >&2
    exit 1
fi
echo "Settings:   $settings"
# Its COM1 is the simulator: the machine's serial devices must not be bound to
# the user's COM numbers by a demo.
export XDG_CONFIG_HOME="$out/config"

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    "$app" --settings "$settings" "$@"
else
    # Xvfb picks a free display itself and writes its number once it is ready.
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
    xvfb=$!
    for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
    if ! [ -s "$work/display" ]; then
        echo "Xvfb did not start." >&2
        exit 1
    fi
    display=":$(head -n1 "$work/display")"
    echo "No display: running Quolix under Xvfb ($display) for about 20 seconds..."
    DISPLAY="$display" "$app" --settings "$settings" --demo 20 "$out"
    echo "Screenshot: $out/quolix-demo.png"
    echo "Recording:  $out/quolix-demo.qlx"
fi
