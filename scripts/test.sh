#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors, then runs the whole test suite twice: once as
# built for use, once under AddressSanitizer and UndefinedBehaviorSanitizer.
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
