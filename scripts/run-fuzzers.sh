#!/bin/sh
# Runs every libFuzzer target of a VELMIRA_FUZZ=ON build for a while.
#
#   scripts/run-fuzzers.sh BUILD_DIR [SECONDS]
#
# Each target runs SECONDS (default 60) on a copy of its seed corpus in a
# temporary folder; the committed corpus is never written to. Exits non-zero
# when a target finds anything, and then keeps the temporary folder and names
# the file that reproduces the finding:  BUILD_DIR/tests/fuzz/TARGET FILE
set -u

if [ $# -lt 1 ] || [ $# -gt 2 ]; then
    echo "usage: $0 BUILD_DIR [SECONDS]" >&2
    exit 2
fi
build_dir=$1
seconds=${2:-60}
case $seconds in
'' | *[!0-9]*)
    echo "$0: SECONDS must be a whole number, not '$seconds'" >&2
    exit 2
    ;;
esac

fuzz_dir=$(cd "$(dirname "$0")/../tests/fuzz" && pwd)
corpus_dir=$fuzz_dir/corpus
work=$(mktemp -d "${TMPDIR:-/tmp}/velmira-fuzz.XXXXXX") || exit 2

status=0
for pair in fuzz_statistics_parser:statistics_parser fuzz_diameter:diameter fuzz_caselog:caselog \
    fuzz_workbook:workbook; do
    target=${pair%%:*}
    corpus=${pair#*:}
    binary=$build_dir/tests/fuzz/$target
    if [ ! -x "$binary" ]; then
        echo "$0: $binary not found: configure with -DVELMIRA_FUZZ=ON and build it" >&2
        status=2
        continue
    fi

    mkdir -p "$work/$corpus/corpus" "$work/$corpus/findings"
    cp -R "$corpus_dir/$corpus/." "$work/$corpus/corpus/"
    # A dictionary of the input's own tokens, when there is one, helps the mutations.
    set -- -max_total_time="$seconds" -max_len=4096 -timeout=10 -print_final_stats=1 \
        -artifact_prefix="$work/$corpus/findings/"
    if [ -f "$fuzz_dir/$corpus.dict" ]; then
        set -- "$@" -dict="$fuzz_dir/$corpus.dict"
    fi
    echo "== $target: ${seconds} s, log in $work/$corpus/log"
    "$binary" "$@" "$work/$corpus/corpus" >"$work/$corpus/log" 2>&1
    code=$?
    grep -E '^(#[0-9]+[[:space:]]+DONE|Done [0-9]+ runs|stat::peak_rss_mb)' "$work/$corpus/log"

    # Slow units are worth a look but are no failure; everything else kept is.
    findings=$(find "$work/$corpus/findings" -type f ! -name 'slow-unit-*' | sort)
    if [ $code -ne 0 ] || [ -n "$findings" ]; then
        status=1
        echo "!! $target found a problem (exit status $code); see $work/$corpus/log"
        for file in $findings; do
            echo "!! reproduce with: $binary $file"
        done
    fi
done

if [ $status -eq 0 ]; then
    rm -rf "$work"
    echo "no findings"
else
    echo "kept $work"
fi
exit $status
