#!/usr/bin/env bash
# Long fuzzing runs on demand:  scripts/fuzz.sh [SECONDS] [PARSER]
# Builds the fuzz preset and runs the harness of each parser (replies,
# record-file, settings), or of the one named, for SECONDS each (default 600),
# one after the other, starting from the committed corpus and regressions.
# Prints executions, executions per second and coverage, the path of any
# crash file with the command that makes it a regression, and the command that
# merges what the run found into the corpus.
set -euo pipefail
cd "$(dirname "$0")/.."
source tests/fuzz/harnesses.sh

seconds=${1:-600}
if ! [[ "$seconds" =~ ^[0-9]+$ ]] || [ "$seconds" -eq 0 ]; then
    echo "usage: scripts/fuzz.sh [SECONDS] [PARSER]   (PARSER: ${FUZZ_PARSERS[*]})" >&2
    exit 2
fi
parsers=("${FUZZ_PARSERS[@]}")
if [ $# -ge 2 ]; then
    if ! fuzz_known_parser "$2"; then
        echo "unknown parser '$2'; one of: ${FUZZ_PARSERS[*]}" >&2
        exit 2
    fi
    parsers=("$2")
fi

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz >/dev/null

runs="build/fuzz-runs/$(date +%Y%m%d-%H%M%S)"
found=0
for parser in "${parsers[@]}"; do
    program="build/fuzz/$(fuzz_program "$parser")"
    read -r -a options <<<"$(fuzz_options "$parser")"
    mapfile -t dirs < <(fuzz_input_dirs "$parser")
    work="$runs/$parser"
    mkdir -p "$work/new"
    echo "== $parser: $seconds s (log: $work/fuzz.log)"
    status=0
    "$program" "${options[@]}" -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix="$work/" "$work/new" "${dirs[@]}" >"$work/fuzz.log" 2>&1 || status=$?

    log="$work/fuzz.log"
    last=$(grep -E '^#[0-9]+[[:space:]]' "$log" | tail -n 1 || true)
    echo "   executions: $(sed -nE 's/^stat::number_of_executed_units:[[:space:]]+//p' "$log")"
    echo "   exec/s:     $(sed -nE 's/^stat::average_exec_per_sec:[[:space:]]+//p' "$log")"
    echo "   coverage:   $(sed -nE 's/.*(cov: [0-9]+ ft: [0-9]+).*/\1/p' <<<"$last")"
    echo "   new inputs: $(find "$work/new" -type f | wc -l)"
    echo "   peak RSS:   $(sed -nE 's/^stat::peak_rss_mb:[[:space:]]+//p' "$log") MB"
    mapfile -t crashes < <(find "$work" -maxdepth 1 -type f \
        \( -name 'crash-*' -o -name 'leak-*' -o -name 'oom-*' -o -name 'timeout-*' \) | sort)
    if [ "$status" -ne 0 ] || [ ${#crashes[@]} -gt 0 ]; then
        found=1
        grep -m 1 -E 'broken promise|ERROR: ' "$log" | sed 's/^/   finding:    /' || true
        for crash in "${crashes[@]}"; do
            echo "   crash file: $crash"
            echo "   make it a regression (name it after what it broke):"
            echo "     mkdir -p tests/fuzz/regressions/$parser &&" \
                "cp $crash tests/fuzz/regressions/$parser/WHAT-IT-BROKE"
        done
    else
        echo "   findings:   none"
    fi
    if [ -n "$(find "$work/new" -type f -print -quit)" ]; then
        echo "   keep what raised coverage (then commit tests/fuzz/corpus/$parser):"
        echo "     $program ${options[*]} -merge=1 tests/fuzz/corpus/$parser $work/new"
    fi
done
exit "$found"
