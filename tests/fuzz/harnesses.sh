# The fuzz harnesses and how each one is run; sourced by scripts/fuzz.sh,
# scripts/fuzz-ci.sh and scripts/fuzz-coverage.sh, so that they agree.

FUZZ_PARSERS=(replies record-file settings)

# The harness program of a parser, relative to the build folder.
fuzz_program() {
    echo "tests/fuzz/quolix_fuzz_${1//-/_}"
}

# libFuzzer options of a parser. max_len covers the largest seed (a record
# file with a 65534-byte comment; settings files of 31 long lines). The record
# file harness may allocate no more than 64 MiB at once, so a length prefix
# that makes the reader allocate what the file does not hold is a finding.
# Ten-minute runs peak at about 420 MB (mostly ASan's quarantine); more than
# 1 GB means something grows without bound.
fuzz_options() {
    case "$1" in
        replies) echo "-max_len=4096 -rss_limit_mb=1024" ;;
        record-file) echo "-max_len=70000 -malloc_limit_mb=64 -rss_limit_mb=1024" ;;
        settings) echo "-max_len=8192 -rss_limit_mb=1024" ;;
    esac
}

# New inputs tried by ./test.sh from seed 1: about 30 s per parser on the
# 2-core build machine.
fuzz_ci_runs() {
    case "$1" in
        replies) echo 200000 ;;
        record-file) echo 170000 ;;
        settings) echo 120000 ;;
    esac
}

# The parser's own source files, for the coverage report.
fuzz_sources() {
    case "$1" in
        replies) echo "src/link/ReplyParser.cpp src/base/IntegerText.cpp" ;;
        record-file) echo "src/framework/Archive.cpp src/acquisition/RecordFile.cpp src/framework/DocumentFile.cpp" ;;
        settings) echo "src/settings/LineFile.cpp src/settings/SettingsStore.cpp src/settings/SettingsRecord.cpp src/base/IntegerText.cpp" ;;
    esac
}

fuzz_known_parser() {
    local p
    for p in "${FUZZ_PARSERS[@]}"; do
        [ "$p" = "$1" ] && return 0
    done
    return 1
}

# The input folders a harness reads: its corpus and, once it has any, its
# regressions.
fuzz_input_dirs() {
    echo "tests/fuzz/corpus/$1"
    if [ -d "tests/fuzz/regressions/$1" ]; then
        echo "tests/fuzz/regressions/$1"
    fi
}
