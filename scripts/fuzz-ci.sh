#!/usr/bin/env bash
# The fuzz step of ./test.sh, on an already built fuzz preset: every corpus
# input and regression of each parser replayed through its harness, then a
# fixed number of new inputs from seed 1. Address-space randomisation is off
# and the corpus is not reloaded during the run, so the same inputs are tried
# on every run. Any finding fails the step and leaves its input in
# build/fuzz/ci/<parser>/.
set -euo pipefail
cd "$(dirname "$0")/.."
source tests/fuzz/harnesses.sh

build=build/fuzz
no_aslr=(setarch "$(uname -m)" -R)
if ! "${no_aslr[@]}" true 2>/dev/null; then
    echo "note: address-space randomisation cannot be turned off here; runs may differ slightly"
    no_aslr=()
fi

for parser in "${FUZZ_PARSERS[@]}"; do
    program="$build/$(fuzz_program "$parser")"
    read -r -a options <<<"$(fuzz_options "$parser")"
    mapfile -t dirs < <(fuzz_input_dirs "$parser")
    work="$build/ci/$parser"
    rm -rf "$work"
    mkdir -p "$work/new"

    mapfile -t inputs < <(find "${dirs[@]}" -type f | sort)
    if ! "$program" "${options[@]}" "${inputs[@]}" >"$work/replay.log" 2>&1; then
        tail -n 30 "$work/replay.log"
        echo "fuzz $parser: a corpus input or regression broke a promise (log: $work/replay.log)"
        exit 1
    fi

    runs=$(fuzz_ci_runs "$parser")
    started=$SECONDS
    if ! "${no_aslr[@]}" "$program" "${options[@]}" -seed=1 -runs="$runs" -reload=0 \
        -print_final_stats=1 -artifact_prefix="$work/" "$work/new" "${dirs[@]}" \
        >"$work/fuzz.log" 2>&1; then
        tail -n 30 "$work/fuzz.log"
        echo "fuzz $parser: finding in $(ls "$work"/crash-* "$work"/leak-* "$work"/oom-* \
            "$work"/timeout-* 2>/dev/null | tr '\n' ' ')(log: $work/fuzz.log)"
        exit 1
    fi
    stats=$(sed -nE 's/^#[0-9]+[[:space:]]+DONE.*(cov: [0-9]+ ft: [0-9]+).*/\1/p' "$work/fuzz.log")
    execs=$(sed -nE 's/^stat::average_exec_per_sec:[[:space:]]+//p' "$work/fuzz.log")
    echo "fuzz $parser: ${#inputs[@]} inputs replayed, $runs new ones from seed 1 in" \
        "$((SECONDS - started)) s ($execs exec/s, $stats), no finding"
done
