#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors, then runs the whole test suite twice: once as
# built for use, once under AddressSanitizer and UndefinedBehaviorSanitizer. Where clang is installed, the
# PNG reader, the map file reader and the TMX and JSON map readers are then fuzzed for a minute each
# (MOSAICOR_FUZZ_SECONDS), seeded with their test corpora.
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
    # Each reader in turn for MOSAICOR_FUZZ_SECONDS (a minute by default), seeded with its test corpus. A finding
    # stops the fuzzer with a non-zero status and leaves the input that caused it in build-fuzz.
    for reader in png map tmx tmj; do
        case "$reader" in
        tmx | tmj) "$root/build-fuzz/import_seeds" "$reader" "$root/build-fuzz/$reader-seeds" >/dev/null ;;
        *) "$root/build-fuzz/${reader}_seeds" "$root/build-fuzz/$reader-seeds" >/dev/null ;;
        esac
        mkdir -p "$root/build-fuzz/$reader-corpus"
        log="$root/build-fuzz/$reader-fuzz.log"
        if ! "$root/build-fuzz/${reader}_fuzzer" -max_total_time="${MOSAICOR_FUZZ_SECONDS:-60}" -max_len=65536 \
            -print_final_stats=1 -artifact_prefix="$root/build-fuzz/" "$root/build-fuzz/$reader-corpus" \
            "$root/build-fuzz/$reader-seeds" >"$log" 2>&1; then
            tail -n 40 "$log"
            echo "fuzzing the $reader reader found a fault; see $log"
            exit 1
        fi
        echo "fuzzing the $reader reader: $(sed -n 's/^stat::number_of_executed_units: *//p' "$log") executions, no findings"
    done
else
    echo "clang++ not found: the fuzzers were not run"
fi
