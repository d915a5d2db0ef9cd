#!/usr/bin/env bash
# Builds and runs every test: the suite with Qt 5 and with Qt 6, the suite
# again under AddressSanitizer, UndefinedBehaviorSanitizer and LeakSanitizer,
# the Debian package, both fuzzers, and the Windows program under Wine.
# Usage: scripts/test.sh [qt5|qt6|sanitize|package|fuzz|windows ...]   (default: all)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)
stages=("$@")
[ ${#stages[@]} -gt 0 ] || stages=(qt5 qt6 sanitize package fuzz windows)
fuzz_seconds=${VELMIRA_FUZZ_SECONDS:-60}

"$root/scripts/setup.sh" test
export QT_QPA_PLATFORM=offscreen

suite() {  # build dir, then cmake options
    local dir=$1; shift
    cmake -S "$root" -B "$dir" "$@" >/dev/null
    cmake --build "$dir" -j"$jobs"
    ctest --test-dir "$dir" --output-on-failure --timeout 1500
}

passed=0
for stage in "${stages[@]}"; do
    echo "=== $stage"
    case "$stage" in
        qt5) suite "$root/build-qt5" -DVELMIRA_QT_MAJOR=5 ;;
        qt6) suite "$root/build-qt6" -DVELMIRA_QT_MAJOR=6 ;;
        sanitize)
            # A million-line table under the sanitizers can outlast QtTest's
            # five-minute watchdog on a busy machine; ctest's own limit still holds.
            QTEST_FUNCTION_TIMEOUT=1200000 \
            ASAN_OPTIONS=detect_leaks=1:fast_unwind_on_malloc=0:abort_on_error=1:strict_string_checks=1 \
            LSAN_OPTIONS="suppressions=$root/tests/sanitizers/lsan.supp:print_suppressions=0" \
            UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
                suite "$root/build-sanitize" -DVELMIRA_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug ;;
        package)
            "$root/scripts/setup.sh" package
            "$root/scripts/test-package.sh" "$root/build-package" ;;
        fuzz)
            cmake -S "$root" -B "$root/build-fuzz" -DCMAKE_CXX_COMPILER=clang++ \
                -DVELMIRA_FUZZ=ON -DBUILD_TESTING=OFF >/dev/null
            cmake --build "$root/build-fuzz" -j"$jobs"
            "$root/scripts/run-fuzzers.sh" "$root/build-fuzz" "$fuzz_seconds" ;;
        windows)
            "$root/scripts/setup.sh" windows
            "$root/scripts/windows-test.sh" "$root/build-windows" ;;
        *) echo "unknown stage: $stage" >&2; exit 2 ;;
    esac
    passed=$((passed + 1))
done
echo "stages: $passed passed, 0 failed"
