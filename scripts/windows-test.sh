#!/usr/bin/env bash
# The Windows build, tested here under wine: the unit tests through ctest
# with wine as the emulator, the golden recordings through quolix-cli.exe,
# and one recording end to end from the Linux counter simulator on a
# pseudo-terminal that wine calls COM1.
#
#   scripts/windows-test.sh [LINUX_BUILD]
#
# LINUX_BUILD (default build/dev) holds the simulator and the Linux
# quolix-cli that the Windows results are compared with. The windows preset
# must be built already.
set -euo pipefail
cd "$(dirname "$0")/.."
linux_build=${1:-build/dev}
cli_exe=$PWD/build/windows/src/cli/quolix-cli.exe
sim=$PWD/$linux_build/tools/counter-sim/quolix-counter-sim
linux_cli=$PWD/$linux_build/src/cli/quolix-cli
golden=$PWD/tests/cli/golden
for program in "$cli_exe" "$sim" "$linux_cli"; do
    [[ -x $program ]] || { echo "windows-test: $program is not built" >&2; exit 1; }
done

# Japanese arguments reach a Windows program whole only when wine runs
# under a UTF-8 locale; C.UTF-8 is always there.
export LC_ALL=C.UTF-8
# shellcheck source=scripts/wine-env.sh
source scripts/wine-env.sh
# The prefix first: wine_env_start sets an EXIT trap of its own, which the
# one below replaces (and calls).
wine_env_start
work=$(mktemp -d "${TMPDIR:-/tmp}/quolix-windows.XXXXXX")
sim_pid=
record_pid=
cleanup() {
    if [[ -n $record_pid ]]; then
        kill "$record_pid" 2>/dev/null || true
    fi
    if [[ -n $sim_pid ]]; then
        kill "$sim_pid" 2>/dev/null || true
        wait "$sim_pid" 2>/dev/null || true
    fi
    wine_env_stop
    rm -rf -- "$work"
}
trap cleanup EXIT

fail() {
    echo "windows-test: $*" >&2
    exit 1
}

echo "== windows: unit tests under wine"
ctest --preset windows

echo "== windows: golden recordings through quolix-cli.exe"
cd "$work"
cli() { wine "$cli_exe" --settings quolix.ini "$@"; }
checked=0
for qlx in "$golden"/*.qlx; do
    name=${qlx%.qlx}
    if [[ -f $name.json ]]; then
        cli info "$qlx" --json >info.json || fail "info --json of $qlx failed"
        cmp -s info.json "$name.json" || fail "info --json of $qlx differs from $name.json"
        checked=$((checked + 1))
    fi
    for csv in "$name".r*.csv; do
        [[ -f $csv ]] || continue
        resolution=${csv%.csv}
        resolution=${resolution##*.r}
        cli export "$qlx" --resolution "$resolution" >export.csv ||
            fail "export of $qlx failed"
        cmp -s export.csv "$csv" || fail "export of $qlx differs from $csv"
        checked=$((checked + 1))
    done
done
echo "$checked outputs equal to the golden files"

echo "== windows: recording from the simulator on COM1"
# Reply k of the simulator reads 1000 + k; the recorder asks once when it
# opens the port and once per 250 ms tick, so the sample of second t reads
# 1000 + 4t.
for k in $(seq 0 399); do
    printf '%08d\\r\\n\n' $((1000 + k))
done >replies.txt
"$sim" --link "$work/counter" --script replies.txt >sim.out 2>sim.err &
sim_pid=$!
for _ in $(seq 1 100); do
    [[ -s sim.out ]] && break
    sleep 0.1
done
grep -q "^$work/counter -> /dev/pts/" sim.out || fail "the simulator did not start: $(cat sim.err)"
wine_env_map_port COM1 "$work/counter"
echo "\$ wine quolix-cli.exe ports"
cli ports | tee ports.txt
grep "COM1" ports.txt | grep -q 'Serial' || fail "ports does not list COM1 as the system's port"

echo "\$ wine quolix-cli.exe record --port COM1 --duration 5 -o run.qlx --comment 端末から"
cli record --port COM1 --duration 5 -o run.qlx --comment 端末から >record.out 2>record.err ||
    fail "record failed: $(cat record.err)"
cat record.out record.err
# Every printed sample, then every stored one, against the simulator's replies.
awk '{ print $1 "," $3 }' record.out >printed.csv
expected=$(for t in 0 1 2 3 4 5; do echo "$t,$((1000 + 4 * t))"; done)
[[ $(cat printed.csv) == "$expected" ]] || fail "printed samples are not the simulator's: $(cat record.out)"

echo "\$ wine quolix-cli.exe info run.qlx"
cli info run.qlx | tee info.txt
echo "\$ wine quolix-cli.exe export run.qlx"
cli export run.qlx | tee export.csv
tail -n +2 export.csv | cut -d, -f1,2 >stored.csv
cmp -s stored.csv printed.csv || fail "the file does not hold the printed samples"
grep -q 端末から info.txt || fail "the comment did not arrive whole"
# The same file read by the Linux tool: byte for byte the same answers.
"$linux_cli" --settings quolix.ini info run.qlx --json >linux.json
cli info run.qlx --json >windows.json
cmp -s linux.json windows.json || fail "info --json differs between Linux and Windows"
"$linux_cli" --settings quolix.ini export run.qlx >linux.csv
cmp -s linux.csv export.csv || fail "export differs between Linux and Windows"
echo "windows: 6 samples recorded through COM1, stored and read back alike on both systems"

echo "== windows: Ctrl+C ends a recording in order"
# wine turns SIGINT into the console's Ctrl+C event; wine itself is the
# background job, so that the signal reaches it.
wine "$cli_exe" --settings quolix.ini record --port COM1 -o stopped.qlx >stopped.out \
    2>stopped.err &
record_pid=$!
for _ in $(seq 1 100); do
    [[ $(wc -l <stopped.out) -ge 2 ]] && break
    sleep 0.1
done
kill -INT "$record_pid"
status=0
wait "$record_pid" || status=$?
record_pid=
((status == 0)) || fail "record ended with status $status after Ctrl+C: $(cat stopped.err)"
cat stopped.out stopped.err
awk '{ print $1 "," $3 }' stopped.out >printed.csv
cli export stopped.qlx | tail -n +2 | cut -d, -f1,2 >stored.csv
[[ -s printed.csv ]] && cmp -s stored.csv printed.csv ||
    fail "after Ctrl+C the file does not hold the printed samples"
echo "windows: Ctrl+C saved the $(wc -l <stored.csv) samples printed"

echo "== windows: the counter goes away and comes back"
# A vanished device shows under wine as error 21 from ClearCommError: the
# link closes the port and reopens it once a second until the simulator is
# back on the same link.
kill "$sim_pid"
wait "$sim_pid" 2>/dev/null || true
"$sim" --link "$work/counter" --script replies.txt --vanish-at 2 --vanish-for 2 \
    >sim.out 2>sim.err &
sim_pid=$!
for _ in $(seq 1 100); do
    [[ -s sim.out ]] && break
    sleep 0.1
done
echo "\$ wine quolix-cli.exe record --port COM1 --duration 8 -o healed.qlx"
cli record --port COM1 --duration 8 -o healed.qlx >healed.out 2>healed.err ||
    fail "record failed across the outage: $(cat healed.err)"
cat healed.out healed.err
lost=$(grep -n "カウンタとの接続が切れました。" healed.err | head -1 | cut -d: -f1)
back=$(grep -n "カウンタが再び応答しています。" healed.err | tail -1 | cut -d: -f1)
[[ -n $lost && -n $back && $back -gt $lost ]] ||
    fail "the loss and the return of the counter were not told in order"
awk '{ print $1 "," $3 }' healed.out >printed.csv
cli export healed.qlx | tail -n +2 | cut -d, -f1,2 >stored.csv
cmp -s stored.csv printed.csv || fail "across the outage the file does not hold the printed samples"
echo "windows: the link was lost and healed; $(wc -l <stored.csv) samples stored"
