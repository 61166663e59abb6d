#!/usr/bin/env bash
# Line coverage of each parser's own source files reached by its committed
# corpus and regressions:  scripts/fuzz-coverage.sh [PARSER]
# Builds the harnesses with clang's source coverage (preset fuzz-coverage),
# replays the inputs and prints llvm-cov's report for the parser's files.
set -euo pipefail
cd "$(dirname "$0")/.."
source tests/fuzz/harnesses.sh

parsers=("${FUZZ_PARSERS[@]}")
if [ $# -ge 1 ]; then
    if ! fuzz_known_parser "$1"; then
        echo "unknown parser '$1'; one of: ${FUZZ_PARSERS[*]}" >&2
        exit 2
    fi
    parsers=("$1")
fi

cmake --preset fuzz-coverage >/dev/null
cmake --build --preset fuzz-coverage >/dev/null

build=build/fuzz-coverage
for parser in "${parsers[@]}"; do
    program="$build/$(fuzz_program "$parser")"
    read -r -a options <<<"$(fuzz_options "$parser")"
    read -r -a sources <<<"$(fuzz_sources "$parser")"
    mapfile -t dirs < <(fuzz_input_dirs "$parser")
    mapfile -t inputs < <(find "${dirs[@]}" -type f | sort)
    profile="$build/$parser"
    rm -f "$profile".profraw "$profile".profdata
    LLVM_PROFILE_FILE="$profile.profraw" "$program" "${options[@]}" "${inputs[@]}" \
        >"$profile.log" 2>&1
    llvm-profdata merge -sparse "$profile.profraw" -o "$profile.profdata"
    echo "== $parser: ${#inputs[@]} inputs"
    llvm-cov report "$program" -instr-profile="$profile.profdata" "${sources[@]}"
done
