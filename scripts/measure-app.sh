#!/usr/bin/env bash
# Running cost of the desktop application against the command-line recorder,
# measured side by side in one run so that the machine's load weighs on both:
#
#   scripts/measure-app.sh SECONDS [BUILD_DIR]     (BUILD_DIR: build/release)
#
# Two simulated counters; `quolix --demo` under its own Xvfb records from one,
# `quolix-cli record` from the other, each under perf stat (task-clock, one
# figure a second) and /usr/bin/time -v. Beside them, on the same Xvfb,
# `quolix_repaint_floor` (bench/qt) repaints a reading four times a second with
# nothing else: what the toolkit alone costs a window that shows the readout.
# Prints for each the steady processor time in ms per second (the seconds
# after the first 10 and before the last 2, leaving out start-up and the
# demo's closing screenshot and save), the whole run's task-clock, the peak
# resident memory, and the ratios to the CLI and to the floor.
# Not part of the test suite: it takes as long as the recording.
set -euo pipefail

seconds=${1:?usage: scripts/measure-app.sh SECONDS [BUILD_DIR]}
build=$(cd "${2:-$(dirname "$0")/../build/release}" && pwd)
[ "$seconds" -ge 20 ] || { echo "SECONDS must be at least 20" >&2; exit 2; }
command -v perf >/dev/null || { echo "perf is missing (Debian: linux-perf)" >&2; exit 2; }

app="$build/src/app/quolix"
cli="$build/src/cli/quolix-cli"
sim="$build/tools/counter-sim/quolix-counter-sim"
floor="$build/bench/qt/quolix_repaint_floor"
[ -x "$floor" ] || { echo "$floor is missing (build with QUOLIX_WITH_BENCH=ON)" >&2; exit 2; }
tmp=$(mktemp -d "${TMPDIR:-/tmp}/quolix-measure-app-XXXXXX")
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$tmp"
}
trap cleanup EXIT

for name in app cli; do
    "$sim" --link "$tmp/counter-$name" --freq-hz 10000000 --noise 3 --seed 7 >/dev/null &
    pids+=($!)
done
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$tmp/display" >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 100); do
    [ -s "$tmp/display" ] && [ -e "$tmp/counter-app" ] && [ -e "$tmp/counter-cli" ] && break
    sleep 0.1
done
display=":$(cat "$tmp/display")"

measure() {  # name, command...
    local name=$1
    shift
    perf stat -I 1000 -x , -e task-clock -o "$tmp/$name.perf" \
        /usr/bin/time -v -o "$tmp/$name.time" "$@" >"$tmp/$name.out" 2>&1
}

# Settings, port bindings, recent files and the recovery copy all stay in
# the run's folder: a measurement changes nothing of the user's.
measure app env DISPLAY="$display" QUOLIX_COM1="$tmp/counter-app" \
    XDG_CONFIG_HOME="$tmp/config" XDG_STATE_HOME="$tmp/state" \
    "$app" --settings "$tmp/app.ini" --demo "$seconds" "$tmp/demo" &
app_job=$!
measure cli "$cli" --settings "$tmp/quolix.ini" record -o "$tmp/cli.qlx" \
    --port "$tmp/counter-cli" --duration "$seconds" &
cli_job=$!
measure floor env DISPLAY="$display" "$floor" "$seconds" &
floor_job=$!
wait "$app_job" || { echo "the application failed:" >&2; cat "$tmp/app.out" >&2; exit 1; }
wait "$cli_job" || { echo "the recorder failed:" >&2; cat "$tmp/cli.out" >&2; exit 1; }
wait "$floor_job" || { echo "the floor program failed:" >&2; cat "$tmp/floor.out" >&2; exit 1; }

# perf -I rows: time,value,unit,event,...; the value is ms of task-clock.
steady() {
    awk -F , -v last=$((seconds - 2)) '$4 == "task-clock" && $1 > 10 && $1 <= last {
        sum += $2; n++ } END { if (n) printf "%.3f", sum / n; else print "nan" }' "$1"
}
total() {
    awk -F , '$4 == "task-clock" { sum += $2 } END { printf "%.1f", sum }' "$1"
}
rss() {
    sed -n 's/.*Maximum resident set size (kbytes): //p' "$1"
}

app_steady=$(steady "$tmp/app.perf")
cli_steady=$(steady "$tmp/cli.perf")
floor_steady=$(steady "$tmp/floor.perf")
echo "build:        $build"
echo "seconds:      $seconds  ($(uptime | sed 's/.*load/load/'))"
printf '%-12s %14s %16s %14s\n' "" "steady ms/s" "task-clock ms" "peak RSS kB"
printf '%-12s %14s %16s %14s\n' application "$app_steady" "$(total "$tmp/app.perf")" \
    "$(rss "$tmp/app.time")"
printf '%-12s %14s %16s %14s\n' cli "$cli_steady" "$(total "$tmp/cli.perf")" \
    "$(rss "$tmp/cli.time")"
printf '%-12s %14s %16s %14s\n' qt-floor "$floor_steady" "$(total "$tmp/floor.perf")" \
    "$(rss "$tmp/floor.time")"
awk -v a="$app_steady" -v c="$cli_steady" -v f="$floor_steady" 'BEGIN {
    printf "ratio application/cli (steady): %.2f\n", a / c
    printf "ratio qt-floor/cli (steady):    %.2f\n", f / c
    printf "ratio application/qt-floor:     %.2f\n", a / f }'
