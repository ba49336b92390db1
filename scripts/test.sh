#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors, then runs the whole test suite twice: once as
# built for use, once under AddressSanitizer and UndefinedBehaviorSanitizer. Where clang is installed, the
# PNG reader is then fuzzed for a minute (MOSAICOR_FUZZ_SECONDS), seeded with the test corpus.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh"
export QT_QPA_PLATFORM=offscreen

"$root/scripts/build.sh" build-ci -DMOSAICOR_WERROR=ON
(cd "$root/build-ci" && ctest --output-on-failure -j2)

"$root/scripts/build.sh" build-asan -DMOSAICOR_WERROR=ON -DMOSAICOR_SANITIZE=ON -DMOSAICOR_BENCH=OFF
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
(cd "$root/build-asan" && ctest --output-on-failure -j2)

if command -v clang++ >/dev/null; then
    cmake -S "$root/fuzz" -B "$root/build-fuzz" -G Ninja -DCMAKE_CXX_COMPILER=clang++ >/dev/null
    cmake --build "$root/build-fuzz"
    "$root/build-fuzz/png_seeds" "$root/build-fuzz/seeds"
    mkdir -p "$root/build-fuzz/corpus"
    log="$root/build-fuzz/fuzz.log"
    # A finding stops the fuzzer with a non-zero status and leaves the input that caused it in build-fuzz.
    if ! "$root/build-fuzz/png_fuzzer" -max_total_time="${MOSAICOR_FUZZ_SECONDS:-60}" -max_len=65536 \
        -print_final_stats=1 -artifact_prefix="$root/build-fuzz/" "$root/build-fuzz/corpus" \
        "$root/build-fuzz/seeds" >"$log" 2>&1; then
        tail -n 40 "$log"
        echo "PNG fuzzing found a fault; see $log"
        exit 1
    fi
    echo "PNG fuzzing: $(sed -n 's/^stat::number_of_executed_units: *//p' "$log") executions, no findings"
else
    echo "clang++ not found: the PNG fuzzer was not run"
fi
